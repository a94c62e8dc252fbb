#include "pipeline/CConvCrc32.h"

#include "session/Crc32.h"

void CConvCrc32::Init() { crc_ = 0; }

int CConvCrc32::Process() {
    crc_ = session::Crc32Update(crc_, inCursor, static_cast<std::size_t>(inEnd - inCursor));
    inCursor = inEnd;
    return 0;
}
