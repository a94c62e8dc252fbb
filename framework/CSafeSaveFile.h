// A save that never loses the old file and keeps the file's identity.
//
// The new content is written to a temporary file beside the file it
// replaces; only a complete, successful write takes the target's place, and
// a save that fails or is abandoned removes the temporary file and leaves
// the target byte for byte as it was.
//
// Identity: a target that is a symbolic link is saved through to the file
// it leads to, and the link stays a link. The replacing file takes over the
// replaced file's creation time, owner, group and access list, attributes
// and alternate data streams before one rename puts it in place, so the
// target is always either the whole old file or the whole new one.
//
// A file with several hard links cannot be replaced by a rename without
// cutting it off from its other names, so it is rewritten in place instead:
// the complete new content is first written and flushed to the temporary
// file, recorded as ready in the save journal, and only then copied over
// the file (its space claimed first, so a full disk stops the save before
// any byte changes). Should the editor die during that copy, the next start
// or the next save of that file finishes it from the temporary file, so the
// file ends as the whole new content and never stays half written.
//
// Temporary files are named "~<file name>.<number>.prmsave" and every one is
// recorded, with the file's system identity and the process that made it,
// in the save journal (a registry key). A journal entry whose process has
// ended is cleaned up at the next start and at the next save of the same
// file: the temporary file is removed only when it is still the very file
// that entry recorded, so a file the editor did not create is never removed.
//
// The temporary file reports the target's path as its name, so that anyone
// looking at the file being saved (the pre-save check) sees the document's
// own name and extension.
#pragma once

#include <string>

#include "framework/CFile.h"

class CSafeSaveFile {
public:
    // Checks that the target may be replaced (not read-only, not locked by
    // another program) and creates the temporary file. Throws CFileException
    // naming the target.
    explicit CSafeSaveFile(const std::string& target);
    ~CSafeSaveFile();
    CSafeSaveFile(const CSafeSaveFile&) = delete;
    CSafeSaveFile& operator=(const CSafeSaveFile&) = delete;

    CFile& file() { return file_; }
    const std::string& temporaryPath() const { return temporary_; }
    // The file that receives the content: the target, or the file its
    // symbolic links lead to.
    const std::string& destination() const { return destination_; }
    // True when the destination has several hard links and is rewritten in
    // place.
    bool inPlace() const { return inPlace_; }

    // Closes the temporary file and puts its content in the target's place.
    // Throws CFileException; the target is then unchanged.
    void Commit();

    // The registry key (below HKEY_CURRENT_USER) of the save journal; empty
    // keeps no journal (nothing can be cleaned up after a crash then).
    static void SetJournalKey(const std::string& key);
    static const std::string& JournalKey();
    // Cleans up after saves whose process has ended: finishes an in-place
    // rewrite that was cut off and removes the temporary files they left.
    // With a destination, only the entries for that file. Returns the number
    // of temporary files removed.
    static int CleanUpAbandoned(const std::string& destination = std::string());
    // True when a file name has the form of a temporary save file.
    static bool IsTemporaryName(const std::string& name);

private:
    void CreateTemporary(const std::string& folder);
    void ReplaceByRename();
    void RewriteInPlace();

    std::string target_;
    std::string destination_;
    std::string temporary_;
    CFile file_;
    bool exists_ = false;
    bool inPlace_ = false;
    bool committed_ = false;
    // An in-place copy that failed after it began: the temporary file and
    // its journal entry stay for the next start to finish the copy.
    bool keepForRecovery_ = false;
};
