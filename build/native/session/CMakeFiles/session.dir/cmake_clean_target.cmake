file(REMOVE_RECURSE
  "libsession.a"
)
