// The transfer log as seen by the link: producers hand over a code and a text; the shell's log
// window model turns them into lines (" Send: ", " Recv: ", "Error: ", date and time + "Str: ").
#pragma once

#include <string_view>

namespace quarn::link {

// The numeric values are the log window's line kinds and must not change.
enum class TTransferLogCode : int {
  Send = 0,   // a frame written to the port
  Recv = 1,   // a received answer line or a receive diagnostic
  Error = 2,  // an error of a request worker or sender
  Raw = 3,    // raw characters exactly as they arrived
};

// Receives transfer-log lines. Texts may hold any byte value (received garbage, NUL, bytes
// above 127, CR and LF); the sink escapes what it cannot show. A producer holding no sink is
// quiet, which is how the WRITE_LOG setting switches the log off.
class TTransferLogSink {
 public:
  virtual ~TTransferLogSink() = default;
  virtual void TransferLogLine(TTransferLogCode code, std::string_view text) = 0;
};

}  // namespace quarn::link
