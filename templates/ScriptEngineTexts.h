// Texts of the script engine that reach the user, exactly as written here
// (code page 932 at run time; this file is UTF-8).
#pragma once

namespace texts {

// Result lines the script engine appends to the message file after the
// script's own messages. Each ends in a bare line feed.
//   exit code of the script process not 0; argument: the exit code
constexpr const char kRunAbnormalEnd[] = "ファイルの解析が異常終了しました。[終了コード:%ld]\n";
//   exit code 0 but the library reported a fatal error; argument: status
constexpr const char kRunInterrupted[] = "ファイルの解析が中断されました。[終了コード:%ld]\n";
//   a normal end; arguments: CRC-32 of the emitted bytes, file size, 0
constexpr const char kRunFinished[] =
    "ファイルCRC32:%lXh  ファイルサイズ:%ldバイト\nファイルの解析が終了しました。[終了コード:%ld]\n";

}  // namespace texts
