#pragma once
// The rows of the content list beside the result tree: the cells of a
// folder or file row in the columns "Name", "Type", "Size", "Date", "Time"
// and the four hidden debug columns, and the row's icon.

#include <QIcon>
#include <QStringList>
#include <vector>

#include "results/ContentRow.h"

namespace dravel::controls {
class CHideColumn;
}

namespace dravel::app {

[[nodiscard]] QStringList contentCells(const results::ContentRow& row);

// The folder icon for a folder; for a file the desktop theme's icon of its
// type, found by the name's extension, else a generic file icon.
[[nodiscard]] QIcon contentIcon(const results::ContentRow& row);

void appendContentRows(controls::CHideColumn& list, const std::vector<results::ContentRow>& rows);

}  // namespace dravel::app
