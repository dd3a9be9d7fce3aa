// The mode-selection window: its entries, the launch of a search window in
// its place and back, the guards of the mode buttons, and the exit question.

#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "MessageRecorder.h"
#include "WindowHelpers.h"
#include "app/CDravelApp.h"
#include "app/CDravelDlg.h"
#include "app/FrameTexts.h"
#include "platform/TemporaryCopies.h"
#include "support/TempDir.h"

namespace dravel::testing {
namespace {

using storage::RecoveryMode;

class MainWindow : public ::testing::Test {
 protected:
  test::ScopedCurrentDevices devices{fixtureDevices()};
  MessageRecorder messages;
  app::CDravelDlg main;
};

TEST_F(MainWindow, PhotoAndVideoExistButAreNotOffered) {
  main.show();
  for (const auto mode : {RecoveryMode::Basic, RecoveryMode::Deep, RecoveryMode::Signature})
    EXPECT_TRUE(main.modeButton(mode)->isVisible()) << static_cast<int>(mode);
  for (const auto mode : {RecoveryMode::Photo, RecoveryMode::Video}) {
    ASSERT_NE(main.modeButton(mode), nullptr);
    EXPECT_FALSE(main.modeButton(mode)->isVisible());
  }
  EXPECT_EQ(main.modeButton(RecoveryMode::Basic)->toolTip(), QStringLiteral("Start with 'Basic Search' mode"));
  EXPECT_EQ(main.modeButton(RecoveryMode::Signature)->toolTip(), QStringLiteral("Start with 'Signature Search' mode"));
}

TEST_F(MainWindow, ModeButtonOpensTheSearchWindowInItsPlaceAndBackReturns) {
  main.show();
  QSignalSpy opened(&main, &app::CDravelDlg::searchWindowOpened);
  main.setCommandLineLogPath(QStringLiteral("/tmp/old.ZVT"));
  main.modeButton(RecoveryMode::Deep)->click();
  main.modeButton(RecoveryMode::Basic)->click();  // a second press while launching does nothing
  ASSERT_TRUE(opened.wait(5000));
  auto* window = main.searchWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Deep Search"));
  EXPECT_EQ(main.recoveryMode(), RecoveryMode::Deep);
  EXPECT_TRUE(main.commandLineLogPath().isEmpty());
  EXPECT_FALSE(main.isVisible());
  QSignalSpy filled(window, &app::SearchFrame::driveTreeFilled);
  ASSERT_TRUE(filled.wait(20000));

  main.modeButton(RecoveryMode::Basic)->click();  // a window is open: nothing
  EXPECT_EQ(main.searchWindow(), window);

  QSignalSpy closed(&main, &app::CDravelDlg::searchWindowClosed);
  window->back();
  ASSERT_EQ(closed.count(), 1);
  EXPECT_TRUE(main.isVisible());
  EXPECT_TRUE(main.isEnabled());
  EXPECT_EQ(main.searchWindow(), nullptr);
}

TEST_F(MainWindow, ModeButtonsWaitForALogBeingLoaded) {
  main.setLogLoading(true);
  main.modeButton(RecoveryMode::Basic)->click();
  QTest::qWait(50);
  EXPECT_EQ(main.searchWindow(), nullptr);
  EXPECT_FALSE(main.launching());
}

TEST_F(MainWindow, SignatureModesSayTheyAreNotThereYet) {
  main.modeButton(RecoveryMode::Signature)->click();
  EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Signature Search is not available in this version.")});
  EXPECT_EQ(main.searchWindow(), nullptr);
}

TEST_F(MainWindow, ExitOnlyThroughTheQuestion) {
  main.show();
  QSignalSpy exiting(&main, &app::CDravelDlg::exitConfirmed);
  QTest::keyClick(&main, Qt::Key_Escape);
  EXPECT_TRUE(main.isVisible());
  EXPECT_TRUE(messages.texts.isEmpty());

  messages.answers = {controls::MessageAnswer::No};
  main.close();
  EXPECT_EQ(messages.texts, QStringList{app::texts::exitQuestion()});
  EXPECT_EQ(messages.requests.back().icon, controls::MessageIcon::Question);
  EXPECT_TRUE(main.isVisible());
  EXPECT_EQ(exiting.count(), 0);
}

TEST_F(MainWindow, ExitRemovesTheTemporaryCopies) {
  test::TempDir temp;
  test::ScopedEnv tmpdir("TMPDIR", temp.path().string());
  const auto copies = platform::temporaryCopiesFolder(temp.path());
  ASSERT_TRUE(platform::prepareTemporaryCopiesFolder(copies));
  for (const char* name : {"TUL1.txt", "TUL2", "keep.txt"}) std::ofstream(copies / name) << "x";
  std::ofstream(temp.path() / "TUL-of-another-program") << "x";
  QSignalSpy exiting(&main, &app::CDravelDlg::exitConfirmed);
  messages.answers = {controls::MessageAnswer::Yes};
  main.findChild<QPushButton*>(QStringLiteral("exit"))->click();
  EXPECT_EQ(exiting.count(), 1);
  EXPECT_FALSE(std::filesystem::exists(copies / "TUL1.txt"));
  EXPECT_FALSE(std::filesystem::exists(copies / "TUL2"));
  EXPECT_TRUE(std::filesystem::exists(copies / "keep.txt"));
  EXPECT_TRUE(std::filesystem::exists(temp.path() / "TUL-of-another-program"));
}

TEST_F(MainWindow, ACommandLineLogThatCannotBeOpenedEndsTheProgramQuietly) {
  QSignalSpy exiting(&main, &app::CDravelDlg::exitConfirmed);
  main.setCommandLineLogPath(QStringLiteral("/nonexistent/recovery.ZVT"));
  main.openCommandLineLog();
  EXPECT_EQ(exiting.count(), 1);
  EXPECT_TRUE(messages.texts.isEmpty());
}

TEST(StartUp, ArgumentsGiveTheDevicesAndTheLogPath) {
  test::ScopedCurrentDevices restore{platform::DeviceOptions{}};
  struct Case {
    QStringList arguments;
    QString log;
  };
  const std::vector<Case> cases = {
      {{}, QString()},
      {{QStringLiteral("--images-only"), QStringLiteral("\"/media/x/scan.ZVT\"")}, QStringLiteral("/media/x/scan.ZVT")},
      {{QStringLiteral("  /media/x/scan.ZVT\"  ")}, QStringLiteral("/media/x/scan.ZVT")},  // one quote goes
      {{QStringLiteral("--images-only"), QStringLiteral("--image"), QString::fromStdString(test::fixtureImage("sample").string()), QStringLiteral("my"),
        QStringLiteral("scan.ZVT")},
       QStringLiteral("my scan.ZVT")},
  };
  for (const auto& c : cases) {
    QString error;
    const auto options = app::CDravelApp::prepare(c.arguments, error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->commandLineLog, c.log) << c.arguments.join(QLatin1Char(' ')).toStdString();
  }
  EXPECT_EQ(platform::currentDevices()->disks().size(), 1u);

  QString error;
  EXPECT_FALSE(app::CDravelApp::prepare({QStringLiteral("--image")}, error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace dravel::testing
