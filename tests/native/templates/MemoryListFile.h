// The in-memory list file of the tests and the fuzz target.
#pragma once

#include "templates/core/TextListFile.h"

namespace template_list_test {

using MemoryListFile = template_list::TextListFile;

}  // namespace template_list_test
