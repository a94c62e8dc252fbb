# Empty dependencies file for prmconv_options.
# This may be replaced when dependencies are built.
