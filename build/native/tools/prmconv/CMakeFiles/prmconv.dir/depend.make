# Empty dependencies file for prmconv.
# This may be replaced when dependencies are built.
