// prmconv's template commands: apply, verify and templates, run through the
// editor's own script engine and template list, without a window.
#pragma once

#include "tools/prmconv/ConvOptions.h"

// Runs the command; returns the process's exit code (ConvExit).
int RunTemplateCommand(const ConvOptions& options);
