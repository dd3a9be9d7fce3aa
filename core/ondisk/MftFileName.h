#pragma once
// The $FILE_NAME attribute of an NTFS file record: the name in one name
// space, the parent folder and the creation time.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "MftRecord.h"

namespace dravel::ondisk {

inline constexpr std::uint8_t kNameSpacePosix = 0;
inline constexpr std::uint8_t kNameSpaceWin32 = 1;
inline constexpr std::uint8_t kNameSpaceDos = 2;
inline constexpr std::uint8_t kNameSpaceWin32AndDos = 3;
// The order in which a name is looked for: the long names before the 8.3 one.
inline constexpr std::array<std::uint8_t, 4> kNameSpaceOrder{kNameSpaceWin32, kNameSpaceWin32AndDos, kNameSpaceDos,
                                                             kNameSpacePosix};

struct FileName {
  std::uint32_t parent = 0;        // low 32 bits of the parent reference
  std::uint64_t creationTime = 0;  // 100-ns intervals since 1601-01-01 UTC
  std::uint8_t nameSpace = 0;
  std::string name;  // UTF-8
};

// A $FILE_NAME value. The name's length (in UTF-16 units) is taken at its
// word but cut to the units the value holds. Empty when the value is shorter
// than its fixed fields or the name comes out empty.
[[nodiscard]] std::optional<FileName> parseFileName(ByteView value);

// The first resident $FILE_NAME among `attributes` in name space `nameSpace`.
[[nodiscard]] std::optional<FileName> findFileName(const std::vector<Attribute>& attributes, std::uint8_t nameSpace);

// The names of one record, one slot per name space of kNameSpaceOrder.
using NamesBySpace = std::array<std::optional<FileName>, kNameSpaceOrder.size()>;
[[nodiscard]] NamesBySpace namesBySpace(const std::vector<Attribute>& attributes);

}  // namespace dravel::ondisk
