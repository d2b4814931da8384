#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "movie/GalleryScript.h"
#include "tests/support/Hex.h"

namespace {

const std::size_t L = gallery_script::kPublisherAddress.size();

constexpr std::uint8_t kPush = 0x96, kJump = 0x99, kIf = 0x9D, kConstantPool = 0x88, kDefineFunction = 0x9B,
                       kDefineFunction2 = 0x8E;

struct Function {
  std::string name;
  std::size_t headerSize;  // the DefineFunction or DefineFunction2 action
  std::size_t bodySize;
  std::vector<int> branchOffsets;  // of the If and Jump actions directly in the body
};

// A small AVM1 reader: walks a block action by action, descends into every
// function body, and checks that each action stays inside its block, that
// every branch lands on an action boundary of its own block (or its end),
// and that every pool reference names a pool entry.
class Reader {
 public:
  explicit Reader(const myByteArray& bytes) : b_(bytes) {}

  std::vector<std::string> pool;
  std::vector<Function> functions;
  std::uint8_t lastTopLevelCode = 0xFF;
  std::size_t lastTopLevelAt = 0;

  void WalkTopLevel() {
    std::vector<int> branches;
    Walk(0, b_.size(), branches, true);
    EXPECT_TRUE(branches.empty());
  }

 private:
  std::size_t U16(std::size_t at) const { return b_[at] | (b_[at + 1] << 8); }

  std::string String(std::size_t& at, std::size_t end) const {
    std::string s;
    while (at < end && b_[at] != 0) s.push_back(static_cast<char>(b_[at++]));
    EXPECT_LT(at, end) << "unterminated string";
    ++at;
    return s;
  }

  void Walk(std::size_t begin, std::size_t end, std::vector<int>& branches, bool topLevel) {
    std::set<std::size_t> starts;
    std::vector<std::pair<std::size_t, int>> targets;  // branch end, offset
    std::size_t at = begin;
    while (at < end) {
      starts.insert(at);
      if (topLevel) lastTopLevelAt = at, lastTopLevelCode = b_[at];
      const std::uint8_t code = b_[at];
      std::size_t payload = at + 1, next = at + 1;
      if (code >= 0x80) {
        ASSERT_LE(at + 3, end) << "action header at " << at;
        payload = at + 3;
        next = payload + U16(at + 1);
        ASSERT_LE(next, end) << "action at " << at << " overruns its block";
      }
      switch (code) {
        case kPush: ReadPush(payload, next); break;
        case kIf:
        case kJump:
          ASSERT_EQ(next - payload, 2u);
          targets.emplace_back(next, static_cast<std::int16_t>(U16(payload)));
          branches.push_back(targets.back().second);
          break;
        case kConstantPool: {
          const std::size_t count = U16(payload);
          std::size_t s = payload + 2;
          for (std::size_t i = 0; i < count; ++i) pool.push_back(String(s, next));
          EXPECT_EQ(s, next);
          break;
        }
        case kDefineFunction:
        case kDefineFunction2: {
          std::size_t s = payload;
          Function f{String(s, next), next - at, U16(next - 2), {}};
          ASSERT_LE(next + f.bodySize, end) << f.name << "'s body overruns its block";
          const std::size_t index = functions.size();
          functions.push_back(f);
          std::vector<int> inner;
          Walk(next, next + f.bodySize, inner, false);
          functions[index].branchOffsets = inner;
          next += f.bodySize;
          break;
        }
        default: break;
      }
      at = next;
    }
    EXPECT_EQ(at, end);
    for (const auto& [from, offset] : targets) {
      const auto target = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(from) + offset);
      EXPECT_TRUE(starts.count(target) || target == end) << "branch ending at " << from << " lands at " << target
                                                         << ", off the boundaries of [" << begin << ", " << end << ")";
    }
  }

  void ReadPush(std::size_t at, std::size_t end) {
    while (at < end) {
      const std::uint8_t type = b_[at++];
      switch (type) {
        case 8:
          EXPECT_LT(b_[at], 38) << "pool index at " << at;
          EXPECT_LT(b_[at], pool.size()) << "pool index at " << at << " before the pool";
          at += 1;
          break;
        case 4:
        case 5: at += 1; break;
        case 7: at += 4; break;
        case 6: at += 8; break;
        default: ADD_FAILURE() << "push type " << int{type} << " at " << at - 1; return;
      }
    }
    EXPECT_EQ(at, end) << "push values overrun the action";
  }

  const myByteArray& b_;
};

myByteArray Text(const std::string& s) { return myByteArray(s.begin(), s.end()); }

myByteArray Join(std::initializer_list<myByteArray> parts) {
  myByteArray out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(GalleryScript, LengthsAndCountPosition) {
  EXPECT_EQ(L, 28u);
  EXPECT_EQ(gallery_script::BodyLength(), 1325 + L);
  EXPECT_EQ(gallery_script::CountOffset(), 664 + L);
  EXPECT_EQ(gallery_script::Before().size(), 664 + L);
  EXPECT_EQ(gallery_script::After().size(), 657u);
}

TEST(GalleryScript, StructureReadsBack) {
  const myByteArray body = gallery_script::Body(3);
  Reader r(body);
  r.WalkTopLevel();

  // Each function with its header size, body size and branch offsets in order.
  const std::vector<Function> expected = {
      {"updateTimer", 19, 93, {32}},
      {"DisplayCurrentPic", 31, 102, {73, 24, 19, -89}},
      {"rc_menu", 15, 11 + L, {}},
      {"", 8, 78, {}},
      {"", 8, 47, {}},
      {"", 8, 8, {}},
      {"", 8, 31, {}},
      {"", 8, 243, {225, 80, 11, 80, 9}},
  };
  ASSERT_EQ(r.functions.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("function " + std::to_string(i) + " " + expected[i].name);
    EXPECT_EQ(r.functions[i].name, expected[i].name);
    EXPECT_EQ(r.functions[i].headerSize, expected[i].headerSize);
    EXPECT_EQ(r.functions[i].bodySize, expected[i].bodySize);
    EXPECT_EQ(r.functions[i].branchOffsets, expected[i].branchOffsets);
  }
  // The three named functions take 112, 133 and 26 + L bytes with their headers.
  EXPECT_EQ(r.functions[0].headerSize + r.functions[0].bodySize, 112u);
  EXPECT_EQ(r.functions[1].headerSize + r.functions[1].bodySize, 133u);
  EXPECT_EQ(r.functions[2].headerSize + r.functions[2].bodySize, 26 + L);

  EXPECT_EQ(r.lastTopLevelCode, 0x00);
  EXPECT_EQ(r.lastTopLevelAt, body.size() - 1);
}

TEST(GalleryScript, ConstantPool) {
  const myByteArray body = gallery_script::Body(1);
  ASSERT_EQ(body[0], kConstantPool);
  EXPECT_EQ(body[1] | (body[2] << 8), 384);  // 387 bytes with the action header
  Reader r(body);
  r.WalkTopLevel();
  ASSERT_EQ(r.pool.size(), 38u);
  EXPECT_EQ(r.pool[5], "TotalPic");
  EXPECT_EQ(r.pool[21], "");
  EXPECT_EQ(r.pool[27], "FSCommand:allowscale");
  EXPECT_EQ(Text(r.pool[28]), Hex("E5 8F B3 E9 94 AE E8 8F 9C E5 8D 95"));
  EXPECT_EQ(r.pool[32], "Generated by Orbilux Studio, 2011");
  EXPECT_EQ(r.pool[37], "menu");
}

TEST(GalleryScript, FixedActions) {
  const myByteArray body = gallery_script::Body(0x04030201);
  const auto at = [&](std::size_t offset, std::size_t n) {
    return myByteArray(body.begin() + offset, body.begin() + offset + n);
  };
  // DisplayCurrentPic: 4 registers, flags 0x006A, j in register 3, a body of 102 bytes.
  const myByteArray function2 =
      Join({Hex("8E 1C 00"), Text("DisplayCurrentPic"), Hex("00 01 00 04 6A 00 03 6A 00 66 00")});
  EXPECT_EQ(at(387 + 112, function2.size()), function2);
  // rc_menu's one GetURL: the address and "_blank", each with a zero byte.
  const myByteArray getUrl = Join({Hex("83"),
                                   {static_cast<std::uint8_t>(L + 8), 0},
                                   Text(std::string(gallery_script::kPublisherAddress)),
                                   Hex("00"),
                                   Text("_blank"),
                                   Hex("00")});
  EXPECT_EQ(at(387 + 112 + 133 + 15, getUrl.size()), getUrl);
  // var TotalPic = N: Push pool 5 and the integer count, then DefineLocal.
  EXPECT_EQ(at(658 + L, 11), Hex("96 07 00 08 05 07 01 02 03 04 3C"));
}

TEST(GalleryScript, CountIsTheOnlyVaryingField) {
  const myByteArray one = gallery_script::Body(1);
  for (std::int32_t count : {2, 255, 256, 21843, INT32_MAX, -1}) {
    SCOPED_TRACE(count);
    const myByteArray other = gallery_script::Body(count);
    ASSERT_EQ(other.size(), 1325 + L);
    std::vector<std::size_t> differing;
    for (std::size_t i = 0; i < one.size(); ++i) {
      if (one[i] != other[i]) differing.push_back(i);
    }
    for (std::size_t i : differing) {
      EXPECT_GE(i, 664 + L);
      EXPECT_LE(i, 667 + L);
    }
    const auto u = static_cast<std::uint32_t>(count);
    EXPECT_EQ(myByteArray(other.begin() + 664 + L, other.begin() + 668 + L),
              (myByteArray{static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                           static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)}));
  }
  EXPECT_EQ(myByteArray(one.begin(), one.begin() + 664 + L), gallery_script::Before());
  EXPECT_EQ(myByteArray(one.begin() + 668 + L, one.end()), gallery_script::After());
}

}  // namespace
