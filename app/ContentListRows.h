#pragma once
// The rows of the content list beside the result tree: the cells of a
// folder or file row in the columns "Name", "Type", "Size", "Date", "Time"
// and the four hidden debug columns, and the row's icon.

#include <QIcon>
#include <QStringList>
#include <cstddef>
#include <optional>
#include <vector>

#include "results/ContentRow.h"

class QTreeWidgetItem;

namespace dravel::controls {
class CHideColumn;
}

namespace dravel::app {

[[nodiscard]] QStringList contentCells(const results::ContentRow& row);

// The folder icon for a folder; for a file the desktop theme's icon of its
// type, found by the name's extension, else a generic file icon.
[[nodiscard]] QIcon contentIcon(const results::ContentRow& row);

// Each item keeps the index of its row in the listing (`firstIndex` for the
// first of these), so that Save and Open find the row whatever the order
// the list shows.
void appendContentRows(controls::CHideColumn& list, const std::vector<results::ContentRow>& rows,
                       std::size_t firstIndex = 0);
// The listing index an item was given; nullopt for an item that is no content row.
[[nodiscard]] std::optional<std::size_t> contentRowIndex(const QTreeWidgetItem* item);

}  // namespace dravel::app
