# Empty dependencies file for pipeline.
# This may be replaced when dependencies are built.
