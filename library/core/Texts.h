// Every text the template runtime's core writes on its own account. Sources
// are UTF-8; the Windows and native trees compile with the execution
// character set CP932, so at run time these are code page 932 bytes, the
// encoding of the produced text and of the editor's message window.
#pragma once

namespace velda::texts {

// A read ran past the end of the file.
constexpr char kEndOfFile[] = "予期しないファイルの終端です。";
// A bad conversion in a format text.
constexpr char kBadFormat[] = "書式に誤りがあります。";
// An assertion failed without a message of its own.
constexpr char kAssertion[] = "アサーションの異常検出";

// The error line on standard error: prefix, offset in upper-case
// hexadecimal, infix, message, line end.
constexpr char kErrorOffsetPrefix[] = "ファイルオフセット";
constexpr char kErrorOffsetInfix[] = "H：";

// Written raw to standard output in front of the dump of the unread rest of
// the file: a heading line and an empty line, line feeds only.
constexpr char kErrorBanner[] = "[ テンプレート適用にて異常を検出しました。 ]\n\n";

}  // namespace velda::texts
