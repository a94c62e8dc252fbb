#include "EngineFixture.h"

#include <cstdio>
#include <vector>

namespace {

// The build passes folders as paths of the build machine; under Wine its
// root is drive Z:.
std::string FromDefinition(const char* value) {
    std::string path = value;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string ScriptPath(const char* name) { return FromDefinition(ENGINE_TEST_SCRIPTS) + "\\" + name; }
std::string StandInFolder() { return FromDefinition(ENGINE_TEST_STANDIN); }

std::string ReadBytes(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file) return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    UniqueFile file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string SystemText(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message(text != nullptr ? text : "", length);
    if (text != nullptr) LocalFree(text);
    return message;
}

std::string FinishedLine(std::uint32_t crc, std::uint32_t size) {
    char line[256];
    std::snprintf(line, sizeof line, "ファイルCRC32:%Xh  ファイルサイズ:%dバイト\nファイルの解析が終了しました。[終了コード:0]\n",
                  static_cast<unsigned>(crc), static_cast<int>(size));
    return line;
}

std::string CountingBytes(std::size_t n) {
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i & 0xFF);
    return bytes;
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name) {
    std::vector<char> buffer(32768);
    had_ = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size())) > 0;
    if (had_) old_ = buffer.data();
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedVariable::~ScopedVariable() { SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr); }

namespace {
std::string CurrentPath() {
    std::vector<char> buffer(32768);
    GetEnvironmentVariableA("PATH", buffer.data(), static_cast<DWORD>(buffer.size()));
    return buffer.data();
}
}  // namespace

// The child inherits the test's environment, so the stand-in's folder goes
// first on the search path.
StandInHost::StandInHost() : path_("PATH", StandInFolder() + ";" + CurrentPath()) {}

void EngineTest::SetUp() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string leaf = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : leaf) {
        if (c == '/' || c == '\\' || c == ':') c = '_';
    }
    const std::string root = FromDefinition(ENGINE_TEST_WORK);
    CreateDirectoryA(root.c_str(), nullptr);
    const std::string folder = root + "\\" + leaf;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    work_ = folder + "\\";
    ASSERT_TRUE(engine_.SetWorkFiles(Work("prm1.TMP"), Work("prm2.TMP")));
    ASSERT_TRUE(engine_.SetLibraryFolder(work_));
    frame_ = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(frame_, nullptr);
}

void EngineTest::TearDown() {
    if (frame_ != nullptr) DestroyWindow(frame_);
}

long EngineTest::Run(const std::string& templatePath, const std::string& input, const char* fileName) {
    const std::string documentPath = Work("document.bin");
    EXPECT_TRUE(WriteBytes(documentPath, input));
    UniqueFile document(CreateFileA(documentPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(static_cast<bool>(document));
    const long result = engine_.RunTemplate(document.get(), fileName, templatePath, frame_);
    EXPECT_TRUE(IsWindowEnabled(frame_)) << "the frame is enabled again after every run";
    return result;
}
