file(REMOVE_RECURSE
  "libpipeline.a"
)
