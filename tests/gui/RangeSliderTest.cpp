// The sector range slider: the arithmetic in RangeSliderModel,
// exactly, and the widget driven with QTest mouse and key events.
#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "controls/CRangeSlider.h"
#include "controls/RangeSliderModel.h"

namespace dravel::controls {
namespace {

// A horizontal model with arrow size 10 and track width 100 over [0, 100].
struct ModelFixture : ::testing::Test {
  ModelFixture() {
    model.setNotify([this](int what) { sent.push_back(what); });
    model.setClientSize(120, 14);  // arrow 14 * 3 / 4 = 10, track 120 - 20 = 100
    model.setMinMax(0, 100);
    sent.clear();
  }
  RangeSliderModel model;
  std::vector<int> sent;
};

TEST(RangeSliderModel, StartsAtZeroToOne) {
  RangeSliderModel model;
  EXPECT_EQ(model.minMax(), (std::pair{0.0, 1.0}));
  EXPECT_EQ(model.range(), (std::pair{0.0, 1.0}));
  EXPECT_EQ(model.arrowSize(), 10);
  EXPECT_TRUE(model.horizontal());
  EXPECT_FALSE(model.inverted());
  EXPECT_FALSE(model.visualBandShown());
  EXPECT_FALSE(model.tracking());
}

TEST(RangeSliderModel, SetMinMaxSwapsReversedBounds) {
  RangeSliderModel model;
  model.setMinMax(10, 0);
  EXPECT_EQ(model.minimum(), 0.0);
  EXPECT_EQ(model.maximum(), 10.0);
}

TEST(RangeSliderModel, SetRangeClampsLeftThenRightAndTellsBoth) {
  RangeSliderModel model;
  std::vector<int> sent;
  model.setNotify([&sent](int what) { sent.push_back(what); });
  model.setMinMax(0, 10);
  ASSERT_TRUE(sent.empty());
  model.setRange(-5, 20);
  EXPECT_EQ(model.range(), (std::pair{0.0, 10.0}));
  EXPECT_EQ(sent, (std::vector<int>{0, 1}));
}

TEST(RangeSliderModel, NormaliseOrdersTheHandles) {
  RangeSliderModel model;
  std::vector<int> sent;
  model.setNotify([&sent](int what) { sent.push_back(what); });
  model.setMinMax(0, 10);
  model.setRange(8, 3);  // right below left: right follows left
  EXPECT_EQ(model.range(), (std::pair{8.0, 8.0}));
  EXPECT_EQ(sent, (std::vector<int>{1}));
  sent.clear();
  model.setRange(12, 15);  // both above: right to the maximum, then left to right
  EXPECT_EQ(model.range(), (std::pair{10.0, 10.0}));
  EXPECT_EQ(sent, (std::vector<int>{1, 0}));
  sent.clear();
  model.setMinMax(20, 30);  // the old range lies below the new bounds
  EXPECT_EQ(model.range(), (std::pair{20.0, 20.0}));
  EXPECT_EQ(sent, (std::vector<int>{0, 1}));
}

TEST(RangeSliderModel, GetRangeTruncates) {
  RangeSliderModel model;
  model.setMinMax(0, 1e19);
  model.setRange(10.9, 20.99);
  EXPECT_EQ(model.rangeTruncated(), (std::pair<std::int64_t, std::int64_t>{10, 20}));
  model.setRange(1e18 + 0.5, 1e19);
  EXPECT_EQ(model.rangeTruncated().first, 1000000000000000000);
  EXPECT_EQ(model.rangeTruncated().second, INT64_MAX);  // saturates beyond 2^63
}

TEST(RangeSliderModel, InvertedStoresNegatedValues) {
  RangeSliderModel model;
  model.setInverted(true);
  model.setMinMax(0, 10);
  model.setRange(2, 5);
  EXPECT_EQ(model.minimum(), -10.0);
  EXPECT_EQ(model.maximum(), 0.0);
  EXPECT_EQ(model.left(), -5.0);
  EXPECT_EQ(model.right(), -2.0);
  EXPECT_EQ(model.range(), (std::pair{2.0, 5.0}));
  EXPECT_EQ(model.minMax(), (std::pair{0.0, 10.0}));
  EXPECT_EQ(model.rangeTruncated(), (std::pair<std::int64_t, std::int64_t>{2, 5}));
  model.setInverted(false);  // the values seen from outside stay
  EXPECT_EQ(model.range(), (std::pair{2.0, 5.0}));
  EXPECT_EQ(model.left(), 2.0);
}

TEST(RangeSliderModel, VisualRangeIsOrderedAndKeptWithinTheBounds) {
  RangeSliderModel model;
  model.setMinMax(0, 100);
  model.setVisualRange(30, 20);
  EXPECT_EQ(model.visualRange(), (std::pair{20.0, 30.0}));
  model.setVisualRange(-5, 200);
  EXPECT_EQ(model.visualRange(), (std::pair{0.0, 100.0}));
  model.setVisualRange(150, 200);
  EXPECT_EQ(model.visualRange(), (std::pair{100.0, 100.0}));
}

TEST_F(ModelFixture, GeometryAndValueToPixel) {
  EXPECT_EQ(model.arrowSize(), 10);
  EXPECT_EQ(model.trackWidth(), 100);
  EXPECT_EQ(model.valueToPixel(0), 0);
  EXPECT_EQ(model.valueToPixel(10.4), 10);
  EXPECT_EQ(model.valueToPixel(10.5), 11);  // + 0.5, truncated
  EXPECT_EQ(model.valueToPixel(100), 100);
  model.setRange(10, 30);
  const auto left = model.leftHandleBox();
  EXPECT_EQ(left.along0, 10);  // the box left of the value's position on the track
  EXPECT_EQ(left.along1, 20);
  EXPECT_EQ(left.across1, 14);
  const auto right = model.rightHandleBox();
  EXPECT_EQ(right.along0, 40);  // the track starts one arrow size in
  EXPECT_EQ(right.along1, 50);
  const auto band = model.bandBox();
  EXPECT_EQ(band.along0, 21);
  EXPECT_EQ(band.along1, 39);
}

TEST_F(ModelFixture, KeysMoveByOnePixelsWorth) {
  model.setRange(10, 20);
  sent.clear();
  EXPECT_TRUE(model.key(RangeSliderModel::Key::Increase, true));  // Shift+Right: the right handle only
  EXPECT_EQ(model.range(), (std::pair{10.0, 21.0}));
  EXPECT_EQ(sent, (std::vector<int>{0}));
  model.setRange(10, 20);
  sent.clear();
  EXPECT_TRUE(model.key(RangeSliderModel::Key::Increase, false));  // Right: both
  EXPECT_EQ(model.range(), (std::pair{11.0, 21.0}));
  EXPECT_EQ(sent, (std::vector<int>{2}));
  model.key(RangeSliderModel::Key::Decrease, false);
  model.key(RangeSliderModel::Key::Decrease, true);
  EXPECT_EQ(model.range(), (std::pair{10.0, 19.0}));
}

TEST_F(ModelFixture, KeysStopAtTheEndsOfTheTrack) {
  model.setRange(0, 100);
  sent.clear();
  model.key(RangeSliderModel::Key::Increase, false);
  EXPECT_EQ(model.range(), (std::pair{0.0, 100.0}));
  model.key(RangeSliderModel::Key::Decrease, false);
  EXPECT_EQ(model.range(), (std::pair{0.0, 100.0}));
  EXPECT_EQ(sent, (std::vector<int>{2, 2}));  // told even when nothing moved
  model.setRange(40, 40);
  model.key(RangeSliderModel::Key::Decrease, true);  // the right handle cannot pass the left one
  EXPECT_EQ(model.range(), (std::pair{40.0, 40.0}));
}

TEST_F(ModelFixture, KeysNeedATrack) {
  model.setTrackWidth(0);
  EXPECT_FALSE(model.key(RangeSliderModel::Key::Increase, false));
  EXPECT_TRUE(sent.empty());
}

TEST_F(ModelFixture, DragTheLeftHandle) {
  model.setRange(10, 30);
  sent.clear();
  ASSERT_TRUE(model.press(12, 5));  // 3 pixels left of the handle's centre (15)
  EXPECT_EQ(model.dragPart(), RangeSliderModel::DragPart::Left);
  EXPECT_EQ(model.dragOffset(), -3);
  model.move(22);  // p = 25: left = (25 - 5) / 100 * 100
  EXPECT_DOUBLE_EQ(model.left(), 20.0);
  model.move(60);  // beyond the right handle: stops at it
  EXPECT_DOUBLE_EQ(model.left(), 30.0);
  model.move(-50);  // below the minimum
  EXPECT_DOUBLE_EQ(model.left(), 0.0);
  EXPECT_EQ(sent, (std::vector<int>{0, 0, 0}));
  model.release();
  EXPECT_FALSE(model.tracking());
  model.move(30);  // no drag any more
  EXPECT_DOUBLE_EQ(model.left(), 0.0);
}

TEST_F(ModelFixture, DragTheRightHandle) {
  model.setRange(10, 30);
  sent.clear();
  ASSERT_TRUE(model.press(45, 7));
  EXPECT_EQ(model.dragPart(), RangeSliderModel::DragPart::Right);
  EXPECT_EQ(model.dragOffset(), 0);
  model.move(75);  // right = (75 - 15) / 100 * 100
  EXPECT_DOUBLE_EQ(model.right(), 60.0);
  model.move(75);  // unchanged: told as the left value
  model.move(500);
  EXPECT_DOUBLE_EQ(model.right(), 100.0);
  model.move(0);  // below the left handle
  EXPECT_DOUBLE_EQ(model.right(), 10.0);
  EXPECT_EQ(sent, (std::vector<int>{1, 0, 1, 1}));
}

TEST_F(ModelFixture, DragTheBandAgainstTheEnds) {
  model.setRange(10, 30);
  sent.clear();
  ASSERT_TRUE(model.press(30, 7));  // the band's centre
  EXPECT_EQ(model.dragPart(), RangeSliderModel::DragPart::Band);
  model.move(60);  // centre = (60 - 10) / 100 * 100 = 50
  EXPECT_EQ(model.range(), (std::pair{40.0, 60.0}));
  model.move(400);  // against the right end: the length stays
  EXPECT_EQ(model.range(), (std::pair{80.0, 100.0}));
  model.move(-400);
  EXPECT_EQ(model.range(), (std::pair{0.0, 20.0}));
  EXPECT_EQ(sent, (std::vector<int>{2, 2, 2}));
}

TEST_F(ModelFixture, PressOutsideEveryPartStartsNothing) {
  model.setRange(10, 30);
  EXPECT_FALSE(model.press(100, 7));  // right of the right handle
  EXPECT_FALSE(model.press(20, 7));   // the pixel between the left handle and the band
  EXPECT_FALSE(model.press(15, 20));  // below the control
  EXPECT_FALSE(model.tracking());
}

TEST_F(ModelFixture, VerticalUsesTheSameArithmeticAlongY) {
  RangeSliderModel vertical;
  vertical.setHorizontal(false);
  vertical.setClientSize(120, 14);
  vertical.setMinMax(0, 100);
  vertical.setRange(10, 20);
  vertical.key(RangeSliderModel::Key::Increase, false);
  EXPECT_EQ(vertical.range(), (std::pair{11.0, 21.0}));
}

// ---- the widget -----------------------------------------------------------

struct SliderFixture : ::testing::Test {
  SliderFixture() {
    slider.resize(120, 14);
    slider.setMinMax(0, 100);
    slider.setRange(10, 30);
    slider.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&slider));
  }
  CRangeSlider slider;
};

std::vector<int> whats(const QSignalSpy& spy) {
  std::vector<int> out;
  for (const auto& arguments : spy) out.push_back(arguments.at(0).toInt());
  return out;
}

TEST_F(SliderFixture, SizeGivesArrowAndTrack) {
  EXPECT_EQ(slider.model().arrowSize(), 10);
  EXPECT_EQ(slider.model().trackWidth(), 100);
}

TEST_F(SliderFixture, DraggingTheRightHandleSignalsAndMovesIt) {
  QSignalSpy changed(&slider, &CRangeSlider::rangeChanged);
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(45, 7));
  EXPECT_TRUE(slider.hasFocus());
  EXPECT_TRUE(slider.model().tracking());
  QTest::mouseMove(&slider, QPoint(75, 7));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(75, 7));
  EXPECT_FALSE(slider.model().tracking());
  EXPECT_DOUBLE_EQ(slider.range().second, 60.0);
  EXPECT_EQ(slider.getRange(), (std::pair<std::int64_t, std::int64_t>{10, 60}));
  EXPECT_EQ(whats(changed), (std::vector<int>{1}));
}

TEST_F(SliderFixture, DraggingTheBandKeepsItsLengthAtTheRightEnd) {
  QSignalSpy changed(&slider, &CRangeSlider::rangeChanged);
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(30, 7));
  QTest::mouseMove(&slider, QPoint(119, 7));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(119, 7));
  EXPECT_EQ(slider.range(), (std::pair{80.0, 100.0}));
  EXPECT_EQ(whats(changed), (std::vector<int>{2}));
}

TEST_F(SliderFixture, DraggingTheLeftHandle) {
  QSignalSpy changed(&slider, &CRangeSlider::rangeChanged);
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(15, 7));
  QTest::mouseMove(&slider, QPoint(0, 7));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(0, 7));
  EXPECT_EQ(slider.range(), (std::pair{0.0, 30.0}));
  EXPECT_EQ(whats(changed), (std::vector<int>{0}));
}

TEST_F(SliderFixture, ArrowKeysWithAndWithoutShift) {
  slider.setRange(10, 20);
  QSignalSpy changed(&slider, &CRangeSlider::rangeChanged);
  QTest::keyClick(&slider, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(slider.range(), (std::pair{10.0, 21.0}));
  slider.setRange(10, 20);
  QTest::keyClick(&slider, Qt::Key_Right);
  EXPECT_EQ(slider.range(), (std::pair{11.0, 21.0}));
  QTest::keyClick(&slider, Qt::Key_Left);
  EXPECT_EQ(slider.range(), (std::pair{10.0, 20.0}));
  QTest::keyClick(&slider, Qt::Key_Right, Qt::ControlModifier);  // ignored with Ctrl
  QTest::keyClick(&slider, Qt::Key_Down);                          // not a horizontal key
  EXPECT_EQ(slider.range(), (std::pair{10.0, 20.0}));
  EXPECT_EQ(whats(changed), (std::vector<int>{0, 2, 2}));
}

TEST_F(SliderFixture, SettersClampAndSignal) {
  QSignalSpy changed(&slider, &CRangeSlider::rangeChanged);
  slider.setRange(-5, 200);
  EXPECT_EQ(slider.range(), (std::pair{0.0, 100.0}));
  EXPECT_EQ(whats(changed), (std::vector<int>{0, 1}));
}

TEST_F(SliderFixture, PaintsTheVisualBandYellowBetweenTheHandles) {
  slider.setVisualBandShown(true);
  slider.setVisualRange(0, 100);
  const QImage image = slider.grab().toImage();
  EXPECT_EQ(image.pixelColor(30, 7), QColor(255, 255, 150));
  EXPECT_NE(image.pixelColor(60, 7), QColor(255, 255, 150));  // beyond the right handle
  slider.setVisualBandShown(false);
  EXPECT_NE(slider.grab().toImage().pixelColor(30, 7), QColor(255, 255, 150));
}

}  // namespace
}  // namespace dravel::controls
