// The byte stream the simulator serves: the master of a pseudo-terminal, a serial device, or
// one end of the in-memory port pair.
//
// The server's thread polls PollFd() for input when it is a descriptor; a stream whose input
// arrives on another thread (a serial port's receive thread) signals the wake descriptor given
// to Open instead, and answers -1 from PollFd.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <span>
#include <string>

#include "link/byte_arrays.h"

namespace quarn::simulator {

class TByteStream {
 public:
  virtual ~TByteStream() = default;

  // Starts the stream; `wakeFd` is an eventfd to signal when pushed input is waiting.
  virtual bool Open(int wakeFd, std::string& error) = 0;
  virtual void Close() = 0;

  // Descriptor to poll for input and for room to write; -1 when there is none.
  virtual int PollFd() const = 0;
  // Appends the input that is waiting, at most `max` bytes; false once the stream is gone for
  // good.
  virtual bool ReadAvailable(link::TBytesArray& bytes, std::size_t max) = 0;
  // Writes what can be written now: the count taken (0 when the stream is full), -1 on an
  // error that ends the stream.
  virtual ssize_t WriteSome(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace quarn::simulator
