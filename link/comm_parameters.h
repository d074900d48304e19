// The "Communication parameters" dialog without its widgets: it reads and changes the
// controller's own RS-485 settings (protocol, baud rate, parity with stop bits, device address).
// Only the controller changes; our port keeps 115200 baud, 7E1 and ASCII framing, so a
// controller switched to RTU or another baud rate stops answering until it is set back.
//
// The dialog holds one TCommParameters, shows its values, forwards the user's choices and the
// buttons, and hands it every answer the link accepts while the dialog is open (the reads and
// the read-backs of an apply come back that way).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/controller_state.h"
#include "link/device_description.h"

namespace quarn::link {

class TConnectionSession;

enum class TCommProtocol : std::uint8_t { Ascii = 0, Rtu = 1 };

// The parity group's items, in their order on the dialog.
enum class TCommParity : std::uint8_t { EvenOneStop = 0, OddOneStop = 1, NoneTwoStop = 2 };

// The baud-rate drop-down's items.
inline constexpr std::array<std::int32_t, 14> kCommBaudRates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200, 128000, 256000};
inline constexpr int kDefaultCommBaudIndex = 11;  // 115200
inline constexpr int kMinCommId = 1;
inline constexpr int kMaxCommId = 247;

// What the dialog needs of the link; TSessionCommLink is the real one.
class TCommParametersLink {
 public:
  virtual ~TCommParametersLink() = default;
  virtual bool Connected() const = 0;
  // One read per record, as the command list "SendReadCommand".
  virtual bool SendReads(const TDC_Records_Array& records) = 0;
  // The writes as one direct-command list without the run/stop check, each write read back.
  virtual bool SendWrites(const TDC_Records_Array& records) = 0;
  virtual void ShowMessage(const std::string& text) = 0;
};

class TSessionCommLink final : public TCommParametersLink {
 public:
  explicit TSessionCommLink(TConnectionSession& session) : session_(session) {}
  bool Connected() const override;
  bool SendReads(const TDC_Records_Array& records) override;
  bool SendWrites(const TDC_Records_Array& records) override;
  void ShowMessage(const std::string& text) override;

 private:
  TConnectionSession& session_;
};

class TCommParameters {
 public:
  TCommProtocol Protocol() const { return protocol_; }
  void SetProtocol(TCommProtocol protocol) { protocol_ = protocol; }
  // "NONE / 2 STOP" exists for RTU only. Hiding it leaves it checked.
  bool NoneTwoStopVisible() const { return protocol_ == TCommProtocol::Rtu; }

  TCommParity Parity() const { return parity_; }
  void SetParity(TCommParity parity) { parity_ = parity; }

  // Index into kCommBaudRates; -1 while no item is selected.
  int BaudIndex() const { return baud_index_; }
  void SetBaudIndex(int index);

  int Id() const { return id_; }
  void SetId(int id);  // kept within 1 to 247

  // The dialog has opened: the settings are read when a controller is connected.
  bool Opened(TCommParametersLink& link);
  // "Read Settings"; "No connection" without a controller.
  bool ReadSettings(TCommParametersLink& link);
  // "Apply Settings"; "No connection" without a controller. Nothing is sent when one of the
  // four registers is missing from the selected model.
  bool ApplySettings(TCommParametersLink& link);

  // An answer the link accepted. The settings registers update the dialog's choices; answers
  // whether anything it shows changed. A baud rate that is not an item leaves the selection.
  bool TakeAnswer(const TAcceptedAnswer& answer);

  // The reads of the settings; empty when the selected model lacks one of them.
  static TDC_Records_Array ReadRecords();
  // The writes of the current choices; empty when the selected model lacks one of them.
  TDC_Records_Array ApplyRecords() const;

 private:
  bool Read(TCommParametersLink& link);

  TCommProtocol protocol_ = TCommProtocol::Ascii;
  TCommParity parity_ = TCommParity::EvenOneStop;
  int baud_index_ = kDefaultCommBaudIndex;
  int id_ = kMinCommId;
};

}  // namespace quarn::link
