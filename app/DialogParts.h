#pragma once
// Building blocks shared by the small dialogs, so they look alike: an icon
// column, word-wrapped texts, a right-aligned row of named buttons.

#include <QString>
#include <QStyle>

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace dravel::app::parts {

// A label showing the style's icon at message-box size.
QLabel* iconLabel(QWidget* parent, QStyle::StandardPixmap icon);

// A word-wrapped plain-text label; font 0 keeps the dialog's own font.
QLabel* textLabel(QWidget* parent, const QString& text, const QString& objectName, int sharedFontNumber = 0);

QPushButton* button(QWidget* parent, const QString& text, const QString& objectName);

// The band at the top of the main and search windows: the window's caption,
// after the product title unless the caption is the product title itself.
QWidget* titleBand(QWidget* window);

// A row with a stretch on the left, for the buttons at the foot of a dialog.
QHBoxLayout* buttonRow();

// The layout every dialog here uses: icon on the left, body on the right,
// buttons below. Returns the body column.
QBoxLayout* iconAndBody(QWidget* dialog, QStyle::StandardPixmap icon, QHBoxLayout* buttons);

}  // namespace dravel::app::parts
