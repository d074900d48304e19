// Feeds arbitrary bytes to the answer check, cut into chunks of fuzzer-chosen sizes, against a
// fuzzer-chosen request. Whatever arrives, the check must not crash, must keep its buffer within
// the limit, and may accept only an answer whose decoded bytes carry a matching LRC.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "link/modbus_exchange.h"
#include "link/modbus_framing.h"

namespace {

using quarn::link::TModbusExchange;

constexpr std::string_view kFrames[] = {
    ":010350000002AA\r\n",            // read two holding registers
    ":0102F00100010B\r\n",            // read one discrete input
    ":01065001012C7B\r\n",            // write one register
    ":011050000002041170000117\r\n",  // write two registers
    ":01085001\r\n",                  // an unknown function
};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  TModbusExchange exchange;
  exchange.Record().DeviceId = 1;
  exchange.Record().CommandBusy = (data[0] & 0x80) != 0;
  const std::string_view frame = kFrames[data[0] % std::size(kFrames)];
  exchange.PrepareExpectation({reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size()});
  const std::size_t chunk = std::size_t{data[1]} * 8 + 1;
  std::span<const std::uint8_t> rest(data + 2, size - 2);
  while (!rest.empty()) {
    const auto piece = rest.first(std::min(chunk, rest.size()));
    rest = rest.subspan(piece.size());
    const auto outcome = exchange.CheckResponse(piece);
    Check(exchange.BufferedCharacters() <= TModbusExchange::kReceiveBufferLimit);
    if (outcome.AnswerAccepted) {
      Check(exchange.Record().ResponseValid);
      const auto& bytes = exchange.Record().ResponseBytes;
      Check(bytes.size() >= 2 && bytes[0] == 1);
      Check(static_cast<int>(2 * bytes.size() + 5) >= exchange.ExpectedLength());
    }
  }
  return 0;
}
