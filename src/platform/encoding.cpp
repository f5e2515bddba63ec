#include "platform/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace kisharin {

namespace {

// One converter per direction and thread, opened on first use: opening a converter
// costs far more than converting a station name.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return cd_;
    }

private:
    iconv_t cd_;
};

std::optional<std::string> convert(Converter& conv, std::string_view in) {
    if (!conv.ok()) return std::nullopt;
    iconv_t cd = conv.get();
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    std::vector<char> buf(4096);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    bool ok = true;
    while (srcLeft > 0) {
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), buf.size() - dstLeft);
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            ok = false;  // EILSEQ or EINVAL: not valid in the source, or not representable
            break;
        }
        if (r > 0) {  // irreversible conversions: glibc substitutes; refuse them
            ok = false;
            break;
        }
    }
    if (ok) {  // flush any shift state
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        if (iconv(cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) ok = false;
        out.append(buf.data(), buf.size() - dstLeft);
    }
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace

std::optional<std::string> cp932ToUtf8(std::string_view bytes) {
    // Plain ASCII needs no conversion; most lines of the data are not, but many fields are.
    bool ascii = true;
    for (unsigned char c : bytes)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return std::string(bytes);
    thread_local Converter conv("UTF-8", "CP932");
    return convert(conv, bytes);
}

std::optional<std::string> utf8ToCp932(std::string_view text) {
    bool ascii = true;
    for (unsigned char c : text)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return std::string(text);
    thread_local Converter conv("CP932", "UTF-8");
    return convert(conv, text);
}

bool representableInCp932(std::string_view text) { return utf8ToCp932(text).has_value(); }

int charCount(std::string_view text) {
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string firstChars(std::string_view text, int n) {
    size_t i = 0;
    int seen = 0;
    for (; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == n) break;
            ++seen;
        }
    }
    return std::string(text.substr(0, i));
}

}  // namespace kisharin
