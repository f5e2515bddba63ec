// The network game's message reader on any bytes: it never throws, a refusal is one of
// its Japanese reasons, and a message it takes is written and read back the same (so
// what the host sends the guest reads as the host meant it).
#include <cstring>

#include "fuzz_support.h"
#include "net/protocol.h"

using namespace kisharin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::asBytes(data, size);
    const net::ReadResult r = net::readMessage(bytes);
    if (!r.ok) {
        bool known = false;
        for (const char* reason :
             {net::kErrTooLarge, net::kErrNotJson, net::kErrUnknownType, net::kErrVersion, net::kErrField})
            known = known || r.error.rfind(reason, 0) == 0;
        fuzz::require(known, "a refusal without a known reason: " + r.error);
        fuzz::require(size > net::kMaxMessageBytes || r.error != net::kErrTooLarge,
                      "a small message refused as large");
        return 0;
    }
    fuzz::require(size <= net::kMaxMessageBytes, "a message over 64 KiB was taken");
    const std::string written = net::writeMessage(r.message);
    const net::ReadResult again = net::readMessage(written);
    fuzz::require(again.ok, "what was read, written, is refused: " + again.error);
    fuzz::require(net::writeMessage(again.message) == written,
                  "a message read back differs from the one written");
    return 0;
}
