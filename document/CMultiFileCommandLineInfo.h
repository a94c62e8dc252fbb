// The command line with every file parameter kept, not only the first.
#pragma once

#include <string>
#include <vector>

#include "framework/CCommandLineInfo.h"

class CMultiFileCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(const std::string& param, bool flag, bool last) override;

    std::vector<std::string> files;
};
