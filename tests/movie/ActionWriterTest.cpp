#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "movie/ActionWriter.h"
#include "tests/support/Hex.h"

namespace {

using namespace avm1;

ActionWriter OnePop() {
  ActionWriter w;
  w.Action(kPop);
  return w;
}

struct Golden {
  const char* what;
  std::function<void(ActionWriter&)> write;
  const char* bytes;
};

const Golden kGolden[] = {
    {"constant", [](ActionWriter& w) { w.Push({Constant{5}}); }, "96 02 00 08 05"},
    {"integer", [](ActionWriter& w) { w.Push({100}); }, "96 05 00 07 64 00 00 00"},
    {"negative integer", [](ActionWriter& w) { w.Push({-100}); }, "96 05 00 07 9C FF FF FF"},
    {"double 0.0", [](ActionWriter& w) { w.Push({0.0}); }, "96 09 00 06 00 00 00 00 00 00 00 00"},
    // 0.1 = 0x3FB999999999999A: high word 3FB99999 first, then 9999999A.
    {"double 0.1", [](ActionWriter& w) { w.Push({0.1}); }, "96 09 00 06 99 99 B9 3F 9A 99 99 99"},
    {"booleans",
     [](ActionWriter& w) {
       w.Push({true, false});
     },
     "96 04 00 05 01 05 00"},
    {"register", [](ActionWriter& w) { w.Push({Register{3}}); }, "96 02 00 04 03"},
    {"several values, one Push",
     [](ActionWriter& w) {
       w.Push({Constant{0}, 1, Register{2}});
     },
     "96 09 00 08 00 07 01 00 00 00 04 02"},
    {"one-byte action", [](ActionWriter& w) { w.Action(kEnd); }, "00"},
    {"StoreRegister", [](ActionWriter& w) { w.StoreRegister(Register{2}); }, "87 01 00 02"},
    {"GetURL2", [](ActionWriter& w) { w.GetURL2(0); }, "9A 01 00 00"},
    {"GetURL", [](ActionWriter& w) { w.GetURL("u", "_blank"); }, "83 09 00 75 00 5F 62 6C 61 6E 6B 00"},
    {"ConstantPool",
     [](ActionWriter& w) {
       w.ConstantPool(std::array<std::string_view, 2>{"a", ""});
     },
     "88 05 00 02 00 61 00 00"},
    {"If forward over one action",
     [](ActionWriter& w) {
       const Label l = w.NewLabel();
       w.If(l);
       w.Action(kPop);
       w.Bind(l);
     },
     "9D 02 00 01 00 17"},
    {"If to its own end",
     [](ActionWriter& w) {
       const Label l = w.NewLabel();
       w.If(l);
       w.Bind(l);
     },
     "9D 02 00 00 00"},
    {"Jump back to the start",
     [](ActionWriter& w) {
       const Label l = w.NewLabel();
       w.Bind(l);
       w.Action(kPop);
       w.Jump(l);
     },
     "17 99 02 00 FA FF"},
    {"DefineFunction with parameters",
     [](ActionWriter& w) {
       w.DefineFunction("f", {"a", "b"}, OnePop());
     },
     "9B 0A 00 66 00 02 00 61 00 62 00 01 00 17"},
    {"DefineFunction2",
     [](ActionWriter& w) {
       w.DefineFunction2("f", 4, kPreloadRoot | kSuppressSuper | kSuppressArguments | kSuppressThis,
                         {{Register{3}, "j"}}, OnePop());
     },
     "8E 0C 00 66 00 01 00 04 6A 00 03 6A 00 01 00 17"},
};

TEST(ActionWriter, GoldenBytes) {
  for (const Golden& g : kGolden) {
    ActionWriter w;
    g.write(w);
    EXPECT_EQ(w.Bytes(), Hex(g.bytes)) << g.what;
  }
}

// Branches inside a function body count within that body, and the header
// carries the body's computed size.
TEST(ActionWriter, NestedBodyKeepsItsOwnOffsets) {
  ActionWriter body;
  const Label end = body.NewLabel();
  body.If(end);
  body.Action(kPop);
  body.Bind(end);
  ActionWriter w;
  w.Action(kPlay);
  w.DefineFunction("", {}, body);
  EXPECT_EQ(w.Bytes(), Hex("06 9B 05 00 00 00 00 06 00 9D 02 00 01 00 17"));
}

// Pops between a branch and its label, for offsets at the SI16 limits.
myByteArray Forward(std::size_t pops) {
  ActionWriter w;
  const Label l = w.NewLabel();
  w.If(l);
  for (std::size_t i = 0; i < pops; ++i) w.Action(kPop);
  w.Bind(l);
  return w.Bytes();
}

myByteArray Backward(std::size_t pops) {
  ActionWriter w;
  const Label l = w.NewLabel();
  w.Bind(l);
  for (std::size_t i = 0; i < pops; ++i) w.Action(kPop);
  w.Jump(l);
  return w.Bytes();
}

TEST(ActionWriter, BranchOffsetsReachTheSigned16BitLimits) {
  EXPECT_EQ(Forward(32767)[3], 0xFF);
  EXPECT_EQ(Forward(32767)[4], 0x7F);
  EXPECT_THROW(Forward(32768), std::logic_error);
  const myByteArray back = Backward(32763);  // -(32763 + 5) = -32768
  EXPECT_EQ(back[back.size() - 2], 0x00);
  EXPECT_EQ(back[back.size() - 1], 0x80);
  EXPECT_THROW(Backward(32764), std::logic_error);
}

TEST(ActionWriter, RefusesMalformedActions) {
  const std::pair<const char*, std::function<void()>> faults[] = {
      {"Push code without payload", [] { ActionWriter().Action(kPush); }},
      {"payload on a one-byte action", [] { ActionWriter().Action(kAdd, {1}); }},
      {"payload over 65535 bytes", [] { ActionWriter().Action(kPush, myByteArray(65536)); }},
      {"zero byte inside a string", [] { ActionWriter().GetURL(std::string_view("a\0b", 3), ""); }},
      {"unbound label",
       [] {
         ActionWriter w;
         w.Jump(w.NewLabel());
         w.Bytes();
       }},
      {"label bound twice",
       [] {
         ActionWriter w;
         const Label l = w.NewLabel();
         w.Bind(l);
         w.Bind(l);
       }},
      {"label of another writer", [] { ActionWriter().If(Label{0}); }},
      {"function body with an unbound label",
       [] {
         ActionWriter body;
         body.If(body.NewLabel());
         ActionWriter().DefineFunction("f", {}, body);
       }},
  };
  for (const auto& [what, fault] : faults) EXPECT_THROW(fault(), std::logic_error) << what;
}

}  // namespace
