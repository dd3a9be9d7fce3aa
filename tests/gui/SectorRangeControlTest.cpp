// The sector range of the search windows: fields, slider and help
// button kept in step, driven through QTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "MessageRecorder.h"
#include "controls/CRangeSlider.h"
#include "controls/SectorRangeControl.h"

namespace dravel::controls {
namespace {

struct RangeControlFixture : ::testing::Test {
  RangeControlFixture() {
    control.resize(480, 140);
    control.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&control));
  }
  QLineEdit* field(const char* name) const { return control.findChild<QLineEdit*>(QString::fromLatin1(name)); }
  QString text(const char* name) const { return field(name)->text(); }
  // Types into a field as the user would, after emptying it.
  void retype(const char* name, const QString& typed) {
    field(name)->clear();
    QTest::keyClicks(field(name), typed);
  }

  SectorRangeControl control;
};

TEST_F(RangeControlFixture, HasTheFieldsLabelsAndHelpButton) {
  for (const char* name : {"minSector", "startSector", "endSector", "maxSector"}) ASSERT_NE(field(name), nullptr) << name;
  EXPECT_TRUE(field("minSector")->isReadOnly());
  EXPECT_TRUE(field("maxSector")->isReadOnly());
  EXPECT_FALSE(field("startSector")->isReadOnly());
  EXPECT_FALSE(field("endSector")->isReadOnly());
  EXPECT_EQ(control.startEdit(), field("startSector"));
  EXPECT_EQ(control.endEdit(), field("endSector"));
  EXPECT_EQ(control.minEdit(), field("minSector"));
  EXPECT_EQ(control.maxEdit(), field("maxSector"));

  QStringList labels;
  for (const auto* label : control.findChildren<QLabel*>()) labels << label->text();
  for (const char* expected : {"Min", "Start Sector", "End Sector", "Max"})
    EXPECT_TRUE(labels.contains(QString::fromLatin1(expected))) << expected;
  EXPECT_TRUE(labels.contains(QStringLiteral("You can change the range of sectors by moving the edges of slider:")));
  control.setLabelText(QStringLiteral("Another line"));
  EXPECT_EQ(control.labelText(), QStringLiteral("Another line"));

  auto* help = control.findChild<QToolButton*>(QStringLiteral("rangeHelp"));
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->text(), QStringLiteral("?"));
  EXPECT_EQ(help->toolTip(), QStringLiteral("Help for 'Sector Range'"));
  EXPECT_NE(control.findChild<CRangeSlider*>(), nullptr);
}

TEST_F(RangeControlFixture, EmptyFieldsHaveNoNumber) {
  EXPECT_FALSE(control.startSector());
  EXPECT_FALSE(control.endSector());
  EXPECT_FALSE(control.minSector());
  EXPECT_FALSE(control.maxSector());
}

TEST_F(RangeControlFixture, SetupWritesTheFourNumbersAndTheSlider) {
  control.setupForSelection(2048, 126472, 2048, 128520);
  EXPECT_EQ(text("startSector"), QStringLiteral("2048"));
  EXPECT_EQ(text("endSector"), QStringLiteral("126472"));
  EXPECT_EQ(text("minSector"), QStringLiteral("2048"));
  EXPECT_EQ(text("maxSector"), QStringLiteral("128520"));
  EXPECT_EQ(control.startSector(), 2048u);
  EXPECT_EQ(control.endSector(), 126472u);
  EXPECT_EQ(control.minSector(), 2048u);
  EXPECT_EQ(control.maxSector(), 128520u);
  // The slider runs from 0; writing the fields moved its range to them.
  EXPECT_EQ(control.slider()->minMax(), (std::pair{0.0, 128520.0}));
  EXPECT_EQ(control.slider()->range(), (std::pair{2048.0, 126472.0}));
  EXPECT_EQ(control.slider()->visualRange(), (std::pair{0.0, 0.0}));
}

TEST_F(RangeControlFixture, TypingMovesTheSliderWhenEndIsNotBelowStart) {
  control.setupForSelection(100, 900, 100, 1000);
  QSignalSpy changed(&control, &SectorRangeControl::sectorRangeChanged);
  field("endSector")->clear();
  QTest::keyClicks(field("endSector"), QStringLiteral("50"));  // below Start: the slider stays
  EXPECT_EQ(control.slider()->range(), (std::pair{100.0, 900.0}));
  QTest::keyClicks(field("endSector"), QStringLiteral("0"));  // 500
  EXPECT_EQ(control.slider()->range(), (std::pair{100.0, 500.0}));
  retype("startSector", QStringLiteral("500"));  // equal is allowed
  EXPECT_EQ(control.slider()->range(), (std::pair{500.0, 500.0}));
  EXPECT_GE(changed.count(), 5);
}

TEST_F(RangeControlFixture, FieldsTakeDigitsOnlyAndNothingBeyond64Bits) {
  retype("startSector", QStringLiteral("12a-3 4"));
  EXPECT_EQ(text("startSector"), QStringLiteral("1234"));
  retype("startSector", QStringLiteral("18446744073709551615"));
  EXPECT_EQ(text("startSector"), QStringLiteral("18446744073709551615"));
  EXPECT_EQ(control.startSector(), UINT64_MAX);
  QTest::keyClicks(field("startSector"), QStringLiteral("0"));
  EXPECT_EQ(text("startSector"), QStringLiteral("18446744073709551615"));
  retype("endSector", QStringLiteral("18446744073709551616"));
  EXPECT_EQ(text("endSector"), QStringLiteral("1844674407370955161"));

  int pos = 0;
  SectorNumberValidator validator;
  QString input = QStringLiteral("99999999999999999999");
  EXPECT_EQ(validator.validate(input, pos), QValidator::Invalid);
  input = QString();
  EXPECT_EQ(validator.validate(input, pos), QValidator::Intermediate);
  input = QStringLiteral("0");
  EXPECT_EQ(validator.validate(input, pos), QValidator::Acceptable);
  input = QStringLiteral("+1");
  EXPECT_EQ(validator.validate(input, pos), QValidator::Invalid);
}

TEST_F(RangeControlFixture, DraggingTheSliderWritesStartAndEnd) {
  control.setupForSelection(0, 1000, 0, 1000);
  auto* slider = control.slider();
  const auto& model = slider->model();
  ASSERT_GT(model.trackWidth(), 0);
  const int across = model.clientAcross() / 2;
  // The right handle to the middle of the track.
  const auto right = model.rightHandleBox();
  const int middle = model.arrowSize() + model.arrowSize() / 2 + model.trackWidth() / 2;
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(right.centreAlong(), across));
  QTest::mouseMove(slider, QPoint(middle, across));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(middle, across));
  const auto [left, end] = slider->getRange();
  EXPECT_EQ(left, 0);
  EXPECT_NEAR(static_cast<double>(end), 500.0, 1000.0 / model.trackWidth() + 1);
  EXPECT_EQ(text("startSector"), QStringLiteral("0"));
  EXPECT_EQ(text("endSector"), QString::number(end));
  // Step 3 ran on the written fields: the slider sits on whole sectors now.
  EXPECT_EQ(slider->range().second, static_cast<double>(end));

  // The left handle up to the right one.
  const auto leftBox = model.leftHandleBox();
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(leftBox.centreAlong(), across));
  QTest::mouseMove(slider, QPoint(model.arrowSize() * 3 + model.trackWidth(), across));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(0, across));
  EXPECT_EQ(text("startSector"), QString::number(end));
  EXPECT_EQ(text("endSector"), QString::number(end));
}

TEST_F(RangeControlFixture, SliderKeysWriteTheFields) {
  control.setupForSelection(100, 500, 0, 1000);
  QTest::keyClick(control.slider(), Qt::Key_Right);  // one pixel's worth to the right, both handles
  const auto [start, end] = control.slider()->getRange();
  EXPECT_GT(start, 100);
  EXPECT_GT(end, 500);
  EXPECT_EQ(text("startSector"), QString::number(start));
  EXPECT_EQ(text("endSector"), QString::number(end));
}

TEST_F(RangeControlFixture, MinAndMaxLosingTheFocusSetTheSliderBounds) {
  control.setupForSelection(100, 900, 100, 1000);
  field("maxSector")->setText(QStringLiteral("2000"));
  field("minSector")->setText(QStringLiteral("50"));
  EXPECT_EQ(control.slider()->minMax(), (std::pair{0.0, 1000.0}));  // not before the focus leaves
  QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(field("maxSector"), &leave);
  EXPECT_EQ(control.slider()->minMax(), (std::pair{50.0, 2000.0}));
  EXPECT_EQ(control.slider()->range(), (std::pair{100.0, 900.0}));
}

TEST_F(RangeControlFixture, HelpButtonShowsTheSectorRangeMessage) {
  testing::MessageRecorder recorder;
  QTest::mouseClick(control.findChild<QToolButton*>(QStringLiteral("rangeHelp")), Qt::LeftButton);
  ASSERT_EQ(recorder.requests.size(), 1u);
  const auto& request = recorder.requests.front();
  EXPECT_EQ(request.caption, QStringLiteral("Message"));
  EXPECT_EQ(request.icon, MessageIcon::Question);
  EXPECT_EQ(request.buttons, MessageButtons::Ok);
  EXPECT_EQ(request.text,
            QStringLiteral("‘Sector Range’ option provides facility to specify the range of start and end sectors of "
                           "storage media within which you want to perform searching for lost data. Please drag Left "
                           "and Right edges of Slider to enter sector range or you can also enter these values in "
                           "‘Start Sector’ and ‘End Sector’ fields manually."));
  // The quotation marks are U+2018 and U+2019, not bytes of their UTF-8 form.
  EXPECT_EQ(request.text.front(), QChar(0x2018));
  EXPECT_EQ(request.text.at(13), QChar(0x2019));
}

}  // namespace
}  // namespace dravel::controls
