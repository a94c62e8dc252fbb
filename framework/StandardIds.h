// Identifiers of the standard commands, control bars and framework strings.
// They keep the values the editor's resources and its users' habits rely on
// (for example 57600 is "new file" everywhere in the editor).
#pragma once

namespace ids {

// File
constexpr unsigned kFileNew = 57600;
constexpr unsigned kFileOpen = 57601;
constexpr unsigned kFileClose = 57602;
constexpr unsigned kFileSave = 57603;
constexpr unsigned kFileSaveAs = 57604;
constexpr unsigned kFilePrintSetup = 57606;
constexpr unsigned kFilePrint = 57607;
constexpr unsigned kFileNewFrame = 57613;
constexpr unsigned kFileMru1 = 57616;  // up to kFileMru1 + 15
constexpr unsigned kFileMruLast = 57631;

// Edit
constexpr unsigned kEditClear = 57632;
constexpr unsigned kEditCopy = 57634;
constexpr unsigned kEditCut = 57635;
constexpr unsigned kEditFind = 57636;
constexpr unsigned kEditPaste = 57637;
constexpr unsigned kEditPasteSpecial = 57639;
constexpr unsigned kEditRepeat = 57640;  // find next
constexpr unsigned kEditReplace = 57641;
constexpr unsigned kEditSelectAll = 57642;
constexpr unsigned kEditUndo = 57643;
constexpr unsigned kEditRedo = 57644;

// Application
constexpr unsigned kAppAbout = 57664;
constexpr unsigned kAppExit = 57665;
constexpr unsigned kHelpIndex = 57666;
constexpr unsigned kHelpFinder = 57667;
constexpr unsigned kContextHelp = 57669;

// Status bar indicators
constexpr unsigned kIndicatorCaps = 59137;
constexpr unsigned kIndicatorNum = 59138;
constexpr unsigned kIndicatorScrl = 59139;

// Control bars (also the commands that show and hide them)
constexpr unsigned kStandardToolBar = 59392;
constexpr unsigned kStatusBar = 59393;

// The view's child id inside its frame.
constexpr unsigned kFirstPane = 59648;

// Strings
constexpr unsigned kAppTitle = 57344;
constexpr unsigned kIdleMessage = 57345;
constexpr unsigned kFailedToCreateDoc = 61700;

}  // namespace ids
