// Whether text mode can write a file's bytes back unchanged. Text mode keeps
// the file as the rich-edit control's text in code page 932 and writes each
// line end as CR LF, so a NUL, a CR or LF that is not part of a CR LF, and a
// byte sequence that code page 932 does not map both ways are changed by a
// save.
#pragma once

class CFile;

namespace text_fidelity {

// What a text-mode save would change, as bits.
enum Loss : unsigned {
    kNoLoss = 0,
    kNul = 1,
    kLoneLineEnd = 2,
    kInvalidSequence = 4,
};

// Reads the whole file from its start and returns the Loss bits that apply.
unsigned TextModeLosses(CFile& file);

}  // namespace text_fidelity
