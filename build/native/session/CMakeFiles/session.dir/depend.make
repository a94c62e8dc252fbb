# Empty dependencies file for session.
# This may be replaced when dependencies are built.
