#include "platform/system_error.h"

#include <cerrno>
#include <cstring>

namespace kisharin {

std::string systemErrorText(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
            return "このファイルやフォルダを使う権限がありません。持ち主と権限を確かめてください";
        case ENOSPC:
        case EDQUOT:
            return "ディスクの空きがありません。不要なファイルを消して空きを作ってください";
        case EROFS:
            return "読み取り専用のファイルシステムです。書き込める場所に置いてください";
        case ENOENT:
            return "ファイルまたはフォルダがありません";
        case ENOTDIR:
            return "途中にフォルダではないものがあります";
        case EISDIR:
            return "ファイルではなくフォルダです";
        case EEXIST:
            return "同じ名前のファイルかフォルダがすでにあります";
        case ELOOP:
            return "リンクがたどりきれません（リンクが輪になっています）";
        case ENAMETOOLONG:
            return "ファイルの名前または場所が長すぎます";
        case EFBIG:
            return "ファイルが大きすぎて書けません";
        case EIO:
            return "ディスクの読み書きに失敗しました（入出力エラー）";
        default: {
            char buf[256];
            // The GNU strerror_r returns the text (possibly not in buf).
            const char* text = ::strerror_r(err, buf, sizeof buf);
            return std::string("システムのエラー：") + text;
        }
    }
}

}  // namespace kisharin
