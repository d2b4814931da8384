#pragma once
// A writer of AVM1 action bytecode (the action records of a DoAction tag or a
// function body). Each call appends one action; branch offsets and function
// body sizes are computed by the writer, never typed in.
//
// Record layout: one code byte; codes of 0x80 and above carry a UI16 payload
// length and the payload. Multi-byte numbers are little-endian.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include "movie/JZZH.h"

namespace avm1 {

// The action codes of the SWF file format, SWF 3 to SWF 7.
enum ActionCode : std::uint8_t {
  // SWF 3
  kEnd = 0x00,
  kNextFrame = 0x04,
  kPreviousFrame = 0x05,
  kPlay = 0x06,
  kStop = 0x07,
  kToggleQuality = 0x08,
  kStopSounds = 0x09,
  kGotoFrame = 0x81,
  kGetURL = 0x83,
  kWaitForFrame = 0x8A,
  kSetTarget = 0x8B,
  kGoToLabel = 0x8C,
  // SWF 4
  kAdd = 0x0A,
  kSubtract = 0x0B,
  kMultiply = 0x0C,
  kDivide = 0x0D,
  kEquals = 0x0E,
  kLess = 0x0F,
  kAnd = 0x10,
  kOr = 0x11,
  kNot = 0x12,
  kStringEquals = 0x13,
  kStringLength = 0x14,
  kStringExtract = 0x15,
  kPop = 0x17,
  kToInteger = 0x18,
  kGetVariable = 0x1C,
  kSetVariable = 0x1D,
  kSetTarget2 = 0x20,
  kStringAdd = 0x21,
  kGetProperty = 0x22,
  kSetProperty = 0x23,
  kCloneSprite = 0x24,
  kRemoveSprite = 0x25,
  kTrace = 0x26,
  kStartDrag = 0x27,
  kEndDrag = 0x28,
  kStringLess = 0x29,
  kRandomNumber = 0x30,
  kMBStringLength = 0x31,
  kCharToAscii = 0x32,
  kAsciiToChar = 0x33,
  kGetTime = 0x34,
  kMBStringExtract = 0x35,
  kMBCharToAscii = 0x36,
  kMBAsciiToChar = 0x37,
  kWaitForFrame2 = 0x8D,
  kPush = 0x96,
  kJump = 0x99,
  kGetURL2 = 0x9A,
  kIf = 0x9D,
  kCall = 0x9E,
  kGotoFrame2 = 0x9F,
  // SWF 5
  kDelete = 0x3A,
  kDelete2 = 0x3B,
  kDefineLocal = 0x3C,
  kCallFunction = 0x3D,
  kReturn = 0x3E,
  kModulo = 0x3F,
  kNewObject = 0x40,
  kDefineLocal2 = 0x41,
  kInitArray = 0x42,
  kInitObject = 0x43,
  kTypeOf = 0x44,
  kTargetPath = 0x45,
  kEnumerate = 0x46,
  kAdd2 = 0x47,
  kLess2 = 0x48,
  kEquals2 = 0x49,
  kToNumber = 0x4A,
  kToString = 0x4B,
  kPushDuplicate = 0x4C,
  kStackSwap = 0x4D,
  kGetMember = 0x4E,
  kSetMember = 0x4F,
  kIncrement = 0x50,
  kDecrement = 0x51,
  kCallMethod = 0x52,
  kNewMethod = 0x53,
  kBitAnd = 0x60,
  kBitOr = 0x61,
  kBitXor = 0x62,
  kBitLShift = 0x63,
  kBitRShift = 0x64,
  kBitURShift = 0x65,
  kStoreRegister = 0x87,
  kConstantPool = 0x88,
  kWith = 0x94,
  kDefineFunction = 0x9B,
  // SWF 6
  kInstanceOf = 0x54,
  kEnumerate2 = 0x55,
  kStrictEquals = 0x66,
  kGreater = 0x67,
  kStringGreater = 0x68,
  // SWF 7
  kCastOp = 0x2B,
  kImplementsOp = 0x2C,
  kThrow = 0x2A,
  kExtends = 0x69,
  kDefineFunction2 = 0x8E,
  kTry = 0x8F,
};

// The flags of DefineFunction2 (UI16; the low byte holds the first eight).
enum Function2Flag : std::uint16_t {
  kPreloadThis = 0x0001,
  kSuppressThis = 0x0002,
  kPreloadArguments = 0x0004,
  kSuppressArguments = 0x0008,
  kPreloadSuper = 0x0010,
  kSuppressSuper = 0x0020,
  kPreloadRoot = 0x0040,
  kPreloadParent = 0x0080,
  kPreloadGlobal = 0x0100,
};

// Push value types.
inline constexpr std::uint8_t kTypeRegister = 4;
inline constexpr std::uint8_t kTypeBoolean = 5;
inline constexpr std::uint8_t kTypeDouble = 6;
inline constexpr std::uint8_t kTypeInteger = 7;
inline constexpr std::uint8_t kTypeConstant8 = 8;

// A one-byte constant-pool index.
struct Constant {
  std::uint8_t index;
};

// A register number.
struct Register {
  std::uint8_t number;
};

// One typed value of a Push. An enumeration value names a constant-pool
// index, so a script can keep its pool indices in an enum of its own.
class PushValue {
 public:
  PushValue(Constant c) : type_(kTypeConstant8), bits_(c.index) {}
  template <typename E>
  requires std::is_enum_v<E> PushValue(E poolIndex) : PushValue(Constant{static_cast<std::uint8_t>(poolIndex)}) {}
  PushValue(std::int32_t value) : type_(kTypeInteger), bits_(static_cast<std::uint32_t>(value)) {}
  PushValue(double value);
  PushValue(bool value) : type_(kTypeBoolean), bits_(value ? 1 : 0) {}
  PushValue(Register r) : type_(kTypeRegister), bits_(r.number) {}

  // The type byte and the value's bytes.
  void AppendTo(myByteArray& out) const;

 private:
  std::uint8_t type_;
  std::uint64_t bits_;
};

// A branch target; made by NewLabel, placed by Bind.
struct Label {
  std::size_t id;
};

class ActionWriter {
 public:
  // A one-byte action (code below 0x80, no payload).
  void Action(ActionCode code);
  // An action with a payload (code 0x80 or above).
  void Action(ActionCode code, const myByteArray& payload);

  // One ActionPush carrying all the values in order.
  void Push(std::initializer_list<PushValue> values);
  void ConstantPool(std::span<const std::string_view> strings);
  void StoreRegister(Register r);
  void GetURL(std::string_view url, std::string_view target);
  void GetURL2(std::uint8_t flags);

  // Branches to a label; the signed 16-bit offset is counted from the end of
  // the If or Jump action to the label.
  Label NewLabel();
  void Bind(Label label);
  void If(Label target);
  void Jump(Label target);

  // A function header followed directly by its body, written with a
  // separate writer whose labels must all be bound.
  void DefineFunction(std::string_view name, std::initializer_list<std::string_view> params, const ActionWriter& body);
  struct RegisterParam {
    Register reg;
    std::string_view name;
  };
  void DefineFunction2(std::string_view name, std::uint8_t registerCount, std::uint16_t flags,
                       std::initializer_list<RegisterParam> params, const ActionWriter& body);

  // Bytes written so far.
  std::size_t Size() const { return bytes_.size(); }
  // The finished bytes with every branch offset filled in; throws
  // std::logic_error for a branch to an unbound label or out of range.
  myByteArray Bytes() const;

 private:
  struct Branch {
    std::size_t offsetAt;  // position of the SI16 offset
    std::size_t id;
  };
  static constexpr std::size_t kUnbound = static_cast<std::size_t>(-1);

  void Branch16(ActionCode code, Label target);

  myByteArray bytes_;
  std::vector<std::size_t> labels_;  // position of each label, or kUnbound
  std::vector<Branch> branches_;
};

}  // namespace avm1
