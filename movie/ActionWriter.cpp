#include "movie/ActionWriter.h"

#include <bit>
#include <limits>
#include <stdexcept>
#include <string>

namespace avm1 {

namespace {

void AppendU16(myByteArray& out, std::size_t value, const char* what) {
  if (value > 0xFFFF) throw std::logic_error(std::string(what) + " does not fit in 16 bits");
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendU32(myByteArray& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A string and its terminating zero byte.
void AppendString(myByteArray& out, std::string_view text) {
  if (text.find('\0') != std::string_view::npos) {
    throw std::logic_error("an action string holds a zero byte");
  }
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

}  // namespace

PushValue::PushValue(double value) : type_(kTypeDouble), bits_(std::bit_cast<std::uint64_t>(value)) {}

void PushValue::AppendTo(myByteArray& out) const {
  out.push_back(type_);
  switch (type_) {
    case kTypeConstant8:
    case kTypeBoolean:
    case kTypeRegister: out.push_back(static_cast<std::uint8_t>(bits_)); break;
    case kTypeInteger: AppendU32(out, static_cast<std::uint32_t>(bits_)); break;
    case kTypeDouble:
      // The player's double layout: the high word first, each word little-endian.
      AppendU32(out, static_cast<std::uint32_t>(bits_ >> 32));
      AppendU32(out, static_cast<std::uint32_t>(bits_));
      break;
  }
}

void ActionWriter::Action(ActionCode code) {
  if (code >= 0x80) throw std::logic_error("action " + std::to_string(code) + " needs a payload");
  bytes_.push_back(code);
}

void ActionWriter::Action(ActionCode code, const myByteArray& payload) {
  if (code < 0x80) throw std::logic_error("action " + std::to_string(code) + " takes no payload");
  bytes_.push_back(code);
  AppendU16(bytes_, payload.size(), "an action payload");
  bytes_.insert(bytes_.end(), payload.begin(), payload.end());
}

void ActionWriter::Push(std::initializer_list<PushValue> values) {
  myByteArray payload;
  for (const PushValue& v : values) v.AppendTo(payload);
  Action(kPush, payload);
}

void ActionWriter::ConstantPool(std::span<const std::string_view> strings) {
  myByteArray payload;
  AppendU16(payload, strings.size(), "the constant pool's count");
  for (std::string_view s : strings) AppendString(payload, s);
  Action(kConstantPool, payload);
}

void ActionWriter::StoreRegister(Register r) { Action(kStoreRegister, {r.number}); }

void ActionWriter::GetURL(std::string_view url, std::string_view target) {
  myByteArray payload;
  AppendString(payload, url);
  AppendString(payload, target);
  Action(kGetURL, payload);
}

void ActionWriter::GetURL2(std::uint8_t flags) { Action(kGetURL2, {flags}); }

Label ActionWriter::NewLabel() {
  labels_.push_back(kUnbound);
  return Label{labels_.size() - 1};
}

void ActionWriter::Bind(Label label) {
  if (labels_.at(label.id) != kUnbound) throw std::logic_error("a label is bound twice");
  labels_[label.id] = bytes_.size();
}

void ActionWriter::If(Label target) { Branch16(kIf, target); }
void ActionWriter::Jump(Label target) { Branch16(kJump, target); }

void ActionWriter::Branch16(ActionCode code, Label target) {
  labels_.at(target.id);  // a label of this writer
  Action(code, {0, 0});
  branches_.push_back({bytes_.size() - 2, target.id});
}

void ActionWriter::DefineFunction(std::string_view name, std::initializer_list<std::string_view> params,
                                  const ActionWriter& body) {
  const myByteArray code = body.Bytes();
  myByteArray payload;
  AppendString(payload, name);
  AppendU16(payload, params.size(), "a parameter count");
  for (std::string_view p : params) AppendString(payload, p);
  AppendU16(payload, code.size(), "a function body");
  Action(kDefineFunction, payload);
  bytes_.insert(bytes_.end(), code.begin(), code.end());
}

void ActionWriter::DefineFunction2(std::string_view name, std::uint8_t registerCount, std::uint16_t flags,
                                   std::initializer_list<RegisterParam> params, const ActionWriter& body) {
  const myByteArray code = body.Bytes();
  myByteArray payload;
  AppendString(payload, name);
  AppendU16(payload, params.size(), "a parameter count");
  payload.push_back(registerCount);
  AppendU16(payload, flags, "the flags");
  for (const RegisterParam& p : params) {
    payload.push_back(p.reg.number);
    AppendString(payload, p.name);
  }
  AppendU16(payload, code.size(), "a function body");
  Action(kDefineFunction2, payload);
  bytes_.insert(bytes_.end(), code.begin(), code.end());
}

myByteArray ActionWriter::Bytes() const {
  myByteArray out = bytes_;
  for (const Branch& b : branches_) {
    const std::size_t target = labels_[b.id];
    if (target == kUnbound) throw std::logic_error("a branch to an unbound label");
    // The offset counts from the end of the branch action, just after its SI16.
    const auto offset = static_cast<std::int64_t>(target) - static_cast<std::int64_t>(b.offsetAt + 2);
    if (offset < std::numeric_limits<std::int16_t>::min() || offset > std::numeric_limits<std::int16_t>::max()) {
      throw std::logic_error("a branch offset does not fit in 16 bits");
    }
    const auto raw = static_cast<std::uint16_t>(offset);
    out[b.offsetAt] = static_cast<std::uint8_t>(raw & 0xFF);
    out[b.offsetAt + 1] = static_cast<std::uint8_t>(raw >> 8);
  }
  return out;
}

}  // namespace avm1
