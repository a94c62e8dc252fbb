#include "tools/prmconv/TemplateCommands.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "pipeline/ByteFiles.h"
#include "pipeline/CStream.h"
#include "pipeline/Chains.h"
#include "session/Crc32.h"
#include "templates/CScriptEngine.h"
#include "templates/CTemplateList.h"
#include "templates/LibraryRegistration.h"
#include "templates/core/TemplateListFormat.h"

namespace {

std::string FullPath(const std::string& path) {
    std::vector<char> buffer(32768, '\0');
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    return length > 0 && length < buffer.size() ? std::string(buffer.data(), length) : path;
}

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadAll(const std::string& path) {
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

// The engine's two work files, in the temporary folder for this run only.
class WorkFiles {
public:
    WorkFiles() {
        char folder[MAX_PATH] = {};
        char output[MAX_PATH] = {};
        char messages[MAX_PATH] = {};
        DWORD length = GetTempPathA(MAX_PATH, folder);
        if (length == 0 || length >= MAX_PATH) return;
        if (!GetTempFileNameA(folder, "prm", 0, output)) return;
        output_ = output;
        if (!GetTempFileNameA(folder, "prm", 0, messages)) return;
        messages_ = messages;
    }
    ~WorkFiles() {
        Remove(output_);
        Remove(messages_);
    }
    // A console the system made for the script may hold the files a moment
    // longer than the script lives (Wine's console host does): the removal
    // is tried again for up to two seconds rather than leaving them behind.
    static void Remove(const std::string& path) {
        if (path.empty()) return;
        for (int attempt = 0; attempt < 200; ++attempt) {
            if (DeleteFileA(path.c_str())) return;
            const DWORD error = GetLastError();
            if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) return;
            Sleep(10);
        }
    }
    WorkFiles(const WorkFiles&) = delete;
    WorkFiles& operator=(const WorkFiles&) = delete;
    bool ready() const { return !output_.empty() && !messages_.empty(); }
    const std::string& output() const { return output_; }
    const std::string& messages() const { return messages_; }

private:
    std::string output_;
    std::string messages_;
};

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "prmconv: %s\n", message.c_str());
    return code;
}

// The registered library's folder; empty (with the message given) when the
// library is not registered.
bool FindLibrary(std::string* folder) {
    *folder = library::LocateLibrary();
    return !folder->empty() && IsFile(*folder + library::kLibraryFileName);
}

struct Applied {
    int exit = kExitOk;
    long result = 0;
};

// Runs the template on the file with the engine; the text is left in the
// work files' output file.
Applied Apply(const ConvOptions& o, CScriptEngine& engine, const WorkFiles& work) {
    Applied applied;
    std::string libraryFolder;
    if (!FindLibrary(&libraryFolder)) {
        applied.exit = Fail(kExitNoLibrary, "the template library (Velda.dll) is not registered");
        return applied;
    }
    const std::string templatePath = FullPath(o.templatePath);
    if (!IsFile(templatePath)) {
        applied.exit = Fail(kExitNoTemplate, "no such template: " + o.templatePath);
        return applied;
    }
    if (!IsFile(o.input)) {
        applied.exit = Fail(kExitNoFile, "no such file: " + o.input);
        return applied;
    }
    if (!work.ready() || !engine.SetWorkFiles(work.output(), work.messages())) {
        applied.exit = Fail(kExitFailed, "the work files cannot be created in the temporary folder");
        return applied;
    }
    engine.SetLibraryFolder(libraryFolder);
    session::SessionBlock& block = engine.master();
    session::SetDataFormat(block, static_cast<unsigned>(o.layout.groupSize), o.layout.byteOrder != 0);
    block.lineBytes = static_cast<std::int32_t>(o.layout.bytesPerLine);
    block.separator = static_cast<std::int16_t>(o.layout.separatorCode);

    UniqueFile file(CreateFileA(o.input.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        applied.exit = Fail(kExitNoFile, "cannot open " + o.input);
        return applied;
    }
    applied.result = engine.RunTemplate(file.get(), template_list::FileNameOf(o.input), templatePath, nullptr);
    // The template's own messages and the result line.
    std::string messages = ReadAll(work.messages());
    std::fwrite(messages.data(), 1, messages.size(), stderr);
    if (applied.result != 0) applied.exit = kExitFailed;
    return applied;
}

int ApplyCommand(const ConvOptions& o) {
    CScriptEngine engine;
    WorkFiles work;
    Applied applied = Apply(o, engine, work);
    if (applied.exit != kExitOk && !engine.lastRunStarted()) return applied.exit;
    std::string text = ReadAll(work.output());
    auto output = o.output == "-" ? OsByteFile::StandardOutput() : OsByteFile::Open(o.output, OsByteFile::Mode::Write);
    output->Write(text.data(), text.size());
    output->Flush();
    return applied.exit;
}

int VerifyCommand(const ConvOptions& o) {
    CScriptEngine engine;
    WorkFiles work;
    Applied applied = Apply(o, engine, work);
    if (!engine.lastRunStarted()) return applied.exit;
    const session::SessionBlock& block = engine.master();
    const std::uint32_t byteOrder = session::IsBigEndian(block) ? 1 : 0;
    // The text packed as the editor saves it, compared with the file.
    auto text = OsByteFile::Open(work.output(), OsByteFile::Mode::Read);
    std::string packed;
    struct Collect : public IByteFile {
        std::string* bytes;
        std::size_t Read(void*, std::size_t) override { return 0; }
        void Write(const void* data, std::size_t size) override {
            bytes->append(static_cast<const char*>(data), size);
        }
    } collect;
    collect.bytes = &packed;
    CStream source(kFileStream, static_cast<IByteFile*>(text.get()));
    CStream sink(kFileStream, static_cast<IByteFile*>(&collect));
    std::string errors;
    SetErrorCollector(&errors);
    int run = RunPackChain(source, byteOrder, sink);
    ClearErrorCollector();
    std::uint32_t crc = session::Crc32Update(0, packed.data(), packed.size());
    bool sameBytes = run >= 0 && errors.empty() && packed == ReadAll(o.input);
    bool sameCrc = run >= 0 && errors.empty() && crc == block.outputCrc;
    if (!block.reversible) {
        std::printf("not reversible: the template does not claim that its text packs back to the file\n");
    }
    std::printf("text CRC32 %08lX, template CRC32 %08lX: %s\n", static_cast<unsigned long>(crc),
                static_cast<unsigned long>(block.outputCrc), sameCrc ? "match" : "mismatch");
    std::printf("packed %lu bytes, file %lu bytes: %s\n", static_cast<unsigned long>(packed.size()),
                static_cast<unsigned long>(block.fileSize), sameBytes ? "the same bytes" : "different bytes");
    if (!errors.empty()) std::printf("%s\n", errors.c_str());
    if (applied.exit != kExitOk) return applied.exit;
    return block.reversible && sameCrc && sameBytes ? kExitOk : kExitFailed;
}

int TemplatesCommand(const ConvOptions& o) {
    std::string libraryFolder;
    if (!FindLibrary(&libraryFolder)) return Fail(kExitNoLibrary, "the template library (Velda.dll) is not registered");
    CScriptEngine engine;
    engine.SetLibraryFolder(libraryFolder);
    CTemplateList list(engine);
    list.SetLibraryFolder(libraryFolder);
    list.Prepare();
    std::vector<std::string> templates;
    if (list.FindTemplatesForFile(o.input, templates) == 0) {
        return Fail(kExitNoTemplatesHere, "no template is listed for " + o.input);
    }
    for (const std::string& path : templates) std::printf("%s\n", list.FullPath(path).c_str());
    return kExitOk;
}

}  // namespace

int RunTemplateCommand(const ConvOptions& o) {
    switch (o.command) {
    case ConvOptions::Command::Apply:
        return ApplyCommand(o);
    case ConvOptions::Command::Verify:
        return VerifyCommand(o);
    case ConvOptions::Command::Templates:
        return TemplatesCommand(o);
    default:
        return kExitUsage;
    }
}
