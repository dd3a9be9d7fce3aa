#include "MftFileName.h"

#include <algorithm>

#include "common/Text.h"

namespace dravel::ondisk {

namespace {

constexpr std::size_t kParentOffset = 0;
constexpr std::size_t kCreationTimeOffset = 8;
constexpr std::size_t kNameLengthOffset = 64;
constexpr std::size_t kNameSpaceOffset = 65;
constexpr std::size_t kNameOffset = 66;

}  // namespace

std::optional<FileName> parseFileName(ByteView value) {
  if (value.size() < kNameOffset) return std::nullopt;
  FileName out;
  out.parent = static_cast<std::uint32_t>(*value.u64le(kParentOffset));
  out.creationTime = *value.u64le(kCreationTimeOffset);
  out.nameSpace = *value.u8(kNameSpaceOffset);
  const std::size_t units = std::min<std::size_t>(*value.u8(kNameLengthOffset), (value.size() - kNameOffset) / 2);
  out.name = utf16leToUtf8(*value.sub(kNameOffset, units * 2));
  if (out.name.empty()) return std::nullopt;
  return out;
}

std::optional<FileName> findFileName(const std::vector<Attribute>& attributes, std::uint8_t nameSpace) {
  for (const auto& attr : attributes) {
    if (attr.type != kAttrFileName || !attr.resident) continue;
    const auto space = attr.resident->u8(kNameSpaceOffset);
    if (!space || *space != nameSpace) continue;
    if (auto name = parseFileName(*attr.resident)) return name;
  }
  return std::nullopt;
}

NamesBySpace namesBySpace(const std::vector<Attribute>& attributes) {
  NamesBySpace names;
  for (std::size_t i = 0; i < kNameSpaceOrder.size(); ++i) names[i] = findFileName(attributes, kNameSpaceOrder[i]);
  return names;
}

}  // namespace dravel::ondisk
