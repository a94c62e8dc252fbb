// The editor's work folder "Pramel" in the user's temporary folder, where
// the script engine's work files ("prm*.TMP") live. Files left behind by an
// earlier run (a crash) are removed at start-up and at shut-down.
#pragma once

#include <string>

class CWorkFolder {
public:
    enum class Result { Ready, InvalidName, Failed };

    // Creates the folder; when it exists already, removes its leftovers.
    Result Prepare();
    // A new empty work file "prm<hex>.TMP"; empty text on failure.
    std::string CreateWorkFile() const;
    // Deletes every "prm*.TMP" file; files in use are skipped silently.
    void DeleteLeftovers() const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
