// Arbitrary bytes as one 1024-byte MFT record: the recovery fix-up, the
// attribute walk, attribute-list references, names, data size and the data
// runs of every non-resident attribute. A hostile record must yield less,
// never an out-of-bounds read, an overflow or an endless loop.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ondisk/DataRuns.h"
#include "ondisk/MftAttributeList.h"
#include "ondisk/MftExtents.h"
#include "ondisk/MftFileName.h"
#include "ondisk/MftRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace dravel;
  using namespace dravel::ondisk;
  std::array<std::byte, kMftRecordSize> record{};
  std::memcpy(record.data(), data, std::min(size, record.size()));
  (void)restoreUpdateSequence(record);
  const ByteView view(record);
  const auto attrs = recordAttributes(view);
  (void)recordReferences(attrs, 0);
  for (const std::uint8_t space : kNameSpaceOrder) (void)findFileName(attrs, space);
  (void)dataSize(attrs);
  for (const auto& attr : attrs) {
    if (!attr.nonResident) continue;
    const auto runs = attributeDataRuns(attr.whole);
    // Through the extents as the MFT's own runs would go, on a volume of a
    // size taken from the record's last bytes.
    const std::uint64_t end = view.u64le(kMftRecordSize - 8).value_or(0);
    const MftLayout layout(mftExtents(runs, VolumeBounds{view.u16le(kMftRecordSize - 10).value_or(0), 8, end}));
    (void)layout.recordSector(layout.recordCount() / 2);
    (void)layout.recordSector(layout.recordCount());
  }
  return 0;
}
