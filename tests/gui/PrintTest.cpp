// Printing through the system's print dialogs to a PostScript printer whose
// port is a file: every page of the text goes to the printer the print
// set-up chose, in its orientation, and the text keeps 720 twips (half an
// inch) from each edge of the paper, whatever the printer's unprintable
// border.
//
// Wine's rich-edit control does not lay out pages (EM_FORMATRANGE does
// nothing there), so the tests put a stand-in into the editor's control
// (PramelSession::StandInPageLayout) that fills each page with a fixed
// number of characters and records where the editor asked for them. The
// dialogs, the printer, the page loop and the print job are the real ones.
#include <gtest/gtest.h>

#include "PramelSession.h"

#include <winspool.h>

using namespace gui;

namespace {

constexpr UINT kPrint = 57607;
constexpr UINT kPrintSetup = 57606;

const char kPrinter[] = "Pramel Test Printer";
const char kOtherPrinter[] = "Pramel Test Printer 2";
const char kDriver[] = "Pramel Test PostScript";

// The paper of the printer description below, and its unprintable border,
// in twips.
constexpr LONG kPaperShort = 595 * 20;
constexpr LONG kPaperLong = 842 * 20;
constexpr LONG kBorder = 18 * 20;
constexpr LONG kMargin = 720;

// A PostScript printer description for Wine's PostScript driver: A4 paper
// with a quarter-inch border it cannot print on, 300 dots per inch.
const char kPrinterDescription[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*FormatVersion: \"4.3\"\n"
    "*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"PRAMELT.PPD\"\n"
    "*Manufacturer: \"Pramel\"\n"
    "*Product: \"(Pramel Test Printer)\"\n"
    "*ModelName: \"Pramel Test Printer\"\n"
    "*ShortNickName: \"Pramel Test Printer\"\n"
    "*NickName: \"Pramel Test Printer\"\n"
    "*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n"
    "*ColorDevice: False\n"
    "*DefaultColorSpace: Gray\n"
    "*TTRasterizer: Type42\n"
    "*DefaultResolution: 300dpi\n"
    "*OpenUI *PageSize/Media Size: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageSize\n"
    "*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageSize\n"
    "*OpenUI *PageRegion: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageRegion\n"
    "*DefaultPageRegion: A4\n"
    "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageRegion\n"
    "*DefaultImageableArea: A4\n"
    "*ImageableArea A4/A4: \"18 18 577 824\"\n"
    "*DefaultPaperDimension: A4\n"
    "*PaperDimension A4/A4: \"595 842\"\n";

void RemovePrinter(const char* name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterA(const_cast<char*>(name), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
}

// Installs a test printer that prints into the file. Empty on success,
// else what failed.
std::string InstallPrinter(const char* name, const std::string& outputFile) {
    char drivers[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(drivers), sizeof drivers, &needed)) {
        return "no printer driver folder";
    }
    // The driver reads its description from the version folder.
    std::string folder = std::string(drivers) + "\\3";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string description = folder + "\\pramel-test.ppd";
    WriteFile(description, kPrinterDescription);
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kDriver);
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pDataFile = &description[0];
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        return "AddPrinterDriver failed: " + std::to_string(GetLastError());
    }
    RemovePrinter(name);
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(name);
    std::string port = outputFile;
    info.pPortName = &port[0];
    info.pDriverName = const_cast<char*>(kDriver);
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) return "AddPrinter failed: " + std::to_string(GetLastError());
    ClosePrinter(printer);
    return {};
}

std::string SelectedPrinter(const Dialog& dialog, int comboId) {
    HWND combo = GetDlgItem(dialog.hwnd, comboId);
    LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return {};
    // The dialog is a Unicode window: ask for the name as it is kept.
    wchar_t name[256] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
    char narrow[512] = {};
    WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class Printing : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        output = folder + "\\printed.ps";
        otherOutput = folder + "\\other.ps";
        for (auto [name, file] : {std::pair<const char*, std::string>{kPrinter, output}, {kOtherPrinter, otherOutput}}) {
            std::string problem = InstallPrinter(name, file);
            ASSERT_TRUE(problem.empty()) << problem;
        }
        ASSERT_TRUE(SetDefaultPrinterA(kPrinter));
        // Two pages and a bit of a 150-line dump.
        std::string path = folder + "\\long.bin";
        WriteFile(path, std::string(16 * 150, '\x5A'));
        editor = std::make_unique<PramelSession>("\"" + path + "\"");
        ASSERT_TRUE(editor->Frame());
        ASSERT_TRUE(editor->StandInPageLayout(3000));
    }
    void TearDown() override {
        editor.reset();
        RemovePrinter(kPrinter);
        RemovePrinter(kOtherPrinter);
    }

    // The finished print job in the file, once the printer has written all
    // of it.
    static std::string PrintedJob(const std::string& file) {
        std::string job;
        WaitUntil([&] {
            job = ReadFile(file);
            return job.find("%%EOF") != std::string::npos;
        });
        return job;
    }

    // Every page was asked for in turn, from the first character to the
    // last, each on the paper less the margins.
    void ExpectPages(LONG paperWidth, LONG paperHeight, std::size_t pagesPrinted) {
        auto pages = editor->PageRequests();
        ASSERT_GE(pages.size(), 2u);
        EXPECT_EQ(pages.size(), pagesPrinted);
        LONG expectedStart = 0;
        for (const auto& page : pages) {
            EXPECT_EQ(page.cpMin, expectedStart);
            EXPECT_EQ(page.render, 1);
            expectedStart = page.next;
            // Twips from the printable area's corner, which lies the border
            // in from the paper's.
            EXPECT_NEAR(page.rc.left + kBorder, kMargin, 5);
            EXPECT_NEAR(page.rc.top + kBorder, kMargin, 5);
            EXPECT_NEAR(page.rc.right + kBorder, paperWidth - kMargin, 5);
            EXPECT_NEAR(page.rc.bottom + kBorder, paperHeight - kMargin, 5);
            EXPECT_NEAR(page.rcPage.right - page.rcPage.left, paperWidth, 5);
            EXPECT_NEAR(page.rcPage.bottom - page.rcPage.top, paperHeight, 5);
        }
        EXPECT_EQ(expectedStart, editor->TextLength());
    }

    std::string folder;
    std::string output;
    std::string otherOutput;
    std::unique_ptr<PramelSession> editor;
};

}  // namespace

TEST_F(Printing, PrintsEveryPageWithHalfInchMargins) {
    // Cancel prints nothing and says nothing.
    editor->Post(kPrint);
    Dialog print = editor->WaitForDialog("印刷");
    ASSERT_TRUE(print);
    EXPECT_EQ(SelectedPrinter(print, 0x473), kPrinter);
    PramelSession::Click(print, IDCANCEL);
    editor->Settle();
    EXPECT_TRUE(editor->Dialogs().empty());
    EXPECT_TRUE(editor->PageRequests().empty());
    EXPECT_FALSE(FileExists(output));

    editor->Post(kPrint);
    print = editor->WaitForDialog("印刷");
    ASSERT_TRUE(print);
    PramelSession::Click(print, IDOK);
    std::string job = PrintedJob(output);
    ASSERT_NE(job.find("%%EOF"), std::string::npos) << "no print job in " << output;
    EXPECT_NE(job.find("%%Orientation: Portrait"), std::string::npos);
    int pages = Count(job, "%%Page: ");
    ExpectPages(kPaperShort, kPaperLong, static_cast<std::size_t>(pages));
    EXPECT_TRUE(editor->Dialogs().empty()) << editor->Dialogs().front().text;
}

TEST_F(Printing, PrintSetupChoosesThePrinterAndTheOrientation) {
    editor->Post(kPrintSetup);
    Dialog setup = editor->WaitForDialog("印刷設定");
    ASSERT_TRUE(setup);
    HWND printers = GetDlgItem(setup.hwnd, 0x470);
    SendMessageA(printers, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(kOtherPrinter));
    SendMessageA(setup.hwnd, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE), reinterpret_cast<LPARAM>(printers));
    HWND landscape = GetDlgItem(setup.hwnd, 0x421);
    SendMessageA(landscape, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(GetDlgItem(setup.hwnd, 0x420), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(setup.hwnd, WM_COMMAND, MAKEWPARAM(0x421, BN_CLICKED), reinterpret_cast<LPARAM>(landscape));
    PramelSession::Click(setup, IDOK);
    editor->Settle();
    ASSERT_TRUE(editor->Dialogs().empty());

    // The print dialog starts from that choice, and so does the print.
    editor->Post(kPrint);
    Dialog print = editor->WaitForDialog("印刷");
    ASSERT_TRUE(print);
    EXPECT_EQ(SelectedPrinter(print, 0x473), kOtherPrinter);
    PramelSession::Click(print, IDOK);
    std::string job = PrintedJob(otherOutput);
    ASSERT_NE(job.find("%%EOF"), std::string::npos) << "no print job in " << otherOutput;
    EXPECT_NE(job.find("%%Orientation: Landscape"), std::string::npos);
    ExpectPages(kPaperLong, kPaperShort, static_cast<std::size_t>(Count(job, "%%Page: ")));
    EXPECT_FALSE(FileExists(output));
}
