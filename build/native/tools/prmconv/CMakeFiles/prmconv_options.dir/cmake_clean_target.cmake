file(REMOVE_RECURSE
  "libprmconv_options.a"
)
