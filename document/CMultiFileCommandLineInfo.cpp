#include "document/CMultiFileCommandLineInfo.h"

void CMultiFileCommandLineInfo::ParseParam(const std::string& param, bool flag, bool last) {
    CCommandLineInfo::ParseParam(param, flag, last);
    if (!flag) files.push_back(param);
}
