#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "MessageRecorder.h"
#include "app/CAbout_Dlg.h"
#include "app/CAdvanceDlg.h"
#include "app/CHelp.h"
#include "app/CMediaRemoved.h"
#include "app/CMsgStand.h"
#include "app/CNoDevice.h"
#include "app/CRem_Media_Scan.h"
#include "app/CSplash.h"
#include "app/DesktopOpen.h"
#include "support/TempDir.h"

namespace dravel::app {
namespace {

const QString kProduct = QStringLiteral("Kestavine USB Drive Recovery");

QStringList shownTexts(const QWidget& dialog) {
  QStringList texts;
  for (const auto* label : dialog.findChildren<QLabel*>()) texts.append(label->text());
  for (const auto* button : dialog.findChildren<QAbstractButton*>()) texts.append(button->text());
  return texts;
}

QAbstractButton* buttonNamed(const QWidget& dialog, const char* name) {
  auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
  EXPECT_NE(button, nullptr) << name;
  return button;
}

void click(const QWidget& dialog, const char* name) {
  if (auto* button = buttonNamed(dialog, name)) QTest::mouseClick(button, Qt::LeftButton);
}

// ---- texts: one row per dialog, the caption and every text it must show ----

struct TextCase {
  const char* name;
  std::function<std::unique_ptr<QDialog>()> make;
  QString caption;
  QStringList texts;
};

class DialogTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(DialogTexts, ShowsCaptionAndTexts) {
  const auto dialog = GetParam().make();
  EXPECT_EQ(dialog->windowTitle(), GetParam().caption);
  const QStringList shown = shownTexts(*dialog);
  for (const QString& text : GetParam().texts) EXPECT_TRUE(shown.contains(text)) << text.toStdString();
}

const QString kVersion = QStringLiteral("Version - " DRAVEL_VERSION);

INSTANTIATE_TEST_SUITE_P(
    All, DialogTexts,
    ::testing::Values(
        TextCase{"Help",
                 [] { return std::make_unique<CHelp>(); },
                 QStringLiteral("Help and Support"),
                 {kProduct, kVersion, QStringLiteral("Launch Software Help File"), QStringLiteral("OK"),
                  QStringLiteral("<a href=\"guide\">click here to open Software Guide.</a>")}},
        TextCase{"About",
                 [] { return std::make_unique<CAbout_Dlg>(); },
                 QStringLiteral("About ") + kProduct,
                 {kProduct, kVersion, QStringLiteral("OK")}},
        TextCase{"BasicAdvice",
                 [] { return std::make_unique<CMsgStand>(); },
                 kProduct,
                 {QStringLiteral("Recovery is not possible in Basic Search Mode, use other search mode to recover "
                                 "your data."),
                  QStringLiteral("Important:"),
                  QStringLiteral("1. When you need to recover data from Dynamic volumes (such as spanned, striped, "
                                 "mirrored, and RAID-5 volumes etc), you Must perform 'Logical Scanning' of drive by "
                                 "selecting the logical drive (e.g. Drive letter C:, D: or E: etc) from the Drives "
                                 "list tree."),
                  QStringLiteral("1. All Recovery Modes are recover data using different Data Recovery Techniques "
                                 "in different cases of Data Loss.\n2. It is strongly recommended that you should "
                                 "allow every process to be completed 100%."),
                  QStringLiteral("OK")}},
        TextCase{"DeepAdvice",
                 [] { return std::make_unique<CAdvanceDlg>(); },
                 kProduct,
                 {QStringLiteral("Recovery is not possible in Deep Search Mode, use other search mode to recover "
                                 "your data."),
                  QStringLiteral("Important:"),
                  QStringLiteral("2. All Recovery Modes are recover data using different Data Recovery Techniques "
                                 "in different cases of Data Loss. "),
                  QStringLiteral("2. It is strongly recommended that you should allow every process to be "
                                 "completed 100%."),
                  QStringLiteral("OK")}},
        TextCase{"NoDevice",
                 [] { return std::make_unique<CNoDevice>(); },
                 kProduct,
                 {QStringLiteral("Could not find any Pen Drive or other USB Removable Media connected to your "
                                 "system."),
                  QStringLiteral("Retry"), QStringLiteral("Exit")}},
        TextCase{"WholeDisk",
                 [] { return std::make_unique<CRem_Media_Scan>(); },
                 kProduct,
                 {QStringLiteral("Please select the Partition to start searching for lost data or use search more "
                                 "partitions option to find the missing or deleted partitions.\n\nBesides this, you "
                                 "can also use the advanced search mode of Kestavine - Recovery to select Entire "
                                 "Drive or Custom Disk Range or even cross File System selection to search the "
                                 "missing data."),
                  QStringLiteral("Search Entire Drive as a single Partition"), QStringLiteral("OK, Go Back")}},
        TextCase{"MediaRemoved",
                 [] { return std::make_unique<CMediaRemoved>(); },
                 kProduct,
                 {QStringLiteral("The selected storage device is no longer available."),
                  QStringLiteral("The drive(from which you are trying recover data) either has been removed or no "
                                 "longer available."),
                  QStringLiteral("Cancel Searching"), QStringLiteral("Retry and Continue..."),
                  QStringLiteral("Apply this action until the searching completes")}},
        TextCase{"Splash",
                 [] { return std::make_unique<CSplash>(); },
                 kProduct,
                 {kProduct, kVersion, QStringLiteral("Loading required information.\nPlease wait...")}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

// ---- help: the three ways to the guide ----

class HelpTest : public ::testing::Test {
 protected:
  HelpTest() {
    DesktopOpen::setLauncher([this](const QString& path) {
      launched.append(path);
      return true;
    });
    DesktopOpen::setOpenWithHandler([](const QString&, QWidget*) { return false; });
    test::writeFile(m_dir / "Software Guide.html", "<html></html>");
    m_guide = QString::fromStdString((m_dir / "Software Guide.html").string());
    m_help.setHelpFile(m_guide);
    m_help.show();
  }
  ~HelpTest() override {
    DesktopOpen::setLauncher({});
    DesktopOpen::setOpenWithHandler({});
  }

  test::TempDir m_dir;
  QString m_guide;
  CHelp m_help;
  QStringList launched;
  testing::MessageRecorder m_messages;
};

TEST_F(HelpTest, DefaultsToTheGuideBesideTheProgram) { EXPECT_EQ(CHelp().helpFile(), helpFilePath()); }

TEST_F(HelpTest, ButtonLinkAndF1EachOpenTheGuide) {
  click(m_help, "launchHelp");
  emit m_help.findChild<QLabel*>(QStringLiteral("guideLink"))->linkActivated(QStringLiteral("guide"));
  QTest::keyClick(&m_help, Qt::Key_F1);
  EXPECT_EQ(launched, QStringList({m_guide, m_guide, m_guide}));
  EXPECT_TRUE(m_messages.texts.isEmpty());
  EXPECT_TRUE(m_help.isVisible());
}

TEST_F(HelpTest, MissingGuideSaysSoAndOpensNothing) {
  m_help.setHelpFile(QString::fromStdString((m_dir / "absent.html").string()));
  click(m_help, "launchHelp");
  EXPECT_EQ(m_messages.texts, QStringList{QStringLiteral("Does not exist.")});
  ASSERT_EQ(m_messages.requests.size(), 1u);
  EXPECT_EQ(m_messages.requests[0].caption, QStringLiteral("Message"));
  EXPECT_EQ(m_messages.requests[0].parent, &m_help);
  EXPECT_TRUE(launched.isEmpty());
}

TEST_F(HelpTest, OkCloses) {
  click(m_help, "ok");
  EXPECT_EQ(m_help.result(), QDialog::Accepted);
  EXPECT_FALSE(m_help.isVisible());
}

// ---- no-device window ----

struct RetryCase {
  const char* name;
  std::optional<bool> found;  // nullopt: no retry handler installed
  bool staysOpen;
};

class NoDeviceRetry : public ::testing::TestWithParam<RetryCase> {};

TEST_P(NoDeviceRetry, ClosesOnlyWhenSomethingWasFound) {
  CNoDevice dialog;
  int calls = 0;
  if (const auto found = GetParam().found) {
    dialog.retry = [&calls, found] {
      ++calls;
      return *found;
    };
  }
  QSignalSpy failed(&dialog, &CNoDevice::retryFailed);
  QSignalSpy finished(&dialog, &QDialog::finished);
  dialog.show();
  QTest::mouseClick(dialog.retryButton(), Qt::LeftButton);

  EXPECT_EQ(calls, GetParam().found ? 1 : 0);
  EXPECT_EQ(dialog.isVisible(), GetParam().staysOpen);
  EXPECT_EQ(failed.count(), GetParam().staysOpen ? 1 : 0);
  if (GetParam().staysOpen) {
    EXPECT_EQ(finished.count(), 0);
  } else {
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Accepted);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, NoDeviceRetry,
                         ::testing::Values(RetryCase{"Found", true, false}, RetryCase{"NothingYet", false, true},
                                           RetryCase{"NoHandler", std::nullopt, true}),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(NoDevice, RetryAgainAfterAFailureCanStillSucceed) {
  CNoDevice dialog;
  bool plugged = false;
  dialog.retry = [&plugged] { return plugged; };
  dialog.show();
  QTest::mouseClick(dialog.retryButton(), Qt::LeftButton);
  ASSERT_TRUE(dialog.isVisible());
  plugged = true;
  QTest::mouseClick(dialog.retryButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(NoDevice, ExitRejectsWithoutRetrying) {
  CNoDevice dialog;
  bool retried = false;
  dialog.retry = [&retried] { return retried = true; };
  dialog.show();
  QTest::mouseClick(dialog.exitButton(), Qt::LeftButton);
  EXPECT_FALSE(retried);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// ---- whole-disk confirmation ----

TEST(WholeDiskConfirmation, EntireDriveAcceptsAndGoBackRejects) {
  const std::vector<std::pair<const char*, int>> cases{{"searchEntireDrive", QDialog::Accepted},
                                                       {"goBack", QDialog::Rejected}};
  for (const auto& [name, result] : cases) {
    CRem_Media_Scan dialog;
    dialog.show();
    click(dialog, name);
    EXPECT_FALSE(dialog.isVisible()) << name;
    EXPECT_EQ(dialog.result(), result) << name;
  }
}

TEST(WholeDiskConfirmation, EnterDoesNotStartAWholeDiskSearch) {
  CRem_Media_Scan dialog;
  dialog.show();
  QTest::keyClick(&dialog, Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// ---- media-removed question ----

struct MediaRemovedCase {
  const char* name;
  bool applyToAll;
  std::function<void(CMediaRemoved&)> answer;
  int cancelFlag, retryCode;
};

class MediaRemovedAnswers : public ::testing::TestWithParam<MediaRemovedCase> {};

TEST_P(MediaRemovedAnswers, GiveTheScanItsCodes) {
  CMediaRemoved dialog;
  dialog.show();
  if (GetParam().applyToAll)
    QTest::mouseClick(dialog.findChild<QCheckBox*>(QStringLiteral("applyToAll")), Qt::LeftButton);
  GetParam().answer(dialog);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.cancelFlag(), GetParam().cancelFlag);
  EXPECT_EQ(dialog.retryCode(), GetParam().retryCode);
}

const auto kClickCancel = [](CMediaRemoved& d) { click(d, "cancelSearching"); };
const auto kClickRetry = [](CMediaRemoved& d) { click(d, "retryAndContinue"); };
const auto kEscape = [](CMediaRemoved& d) { QTest::keyClick(&d, Qt::Key_Escape); };

INSTANTIATE_TEST_SUITE_P(
    Cases, MediaRemovedAnswers,
    ::testing::Values(MediaRemovedCase{"Cancel", false, kClickCancel, 1, 0},
                      MediaRemovedCase{"CancelWithApplyToAll", true, kClickCancel, 1, 0},
                      MediaRemovedCase{"RetryOnce", false, kClickRetry, 0, 1},
                      MediaRemovedCase{"RetryUntilDone", true, kClickRetry, 0, 5},
                      // Dismissing the question must stop the scan, not leave it without an answer.
                      MediaRemovedCase{"Escape", false, kEscape, 1, 0}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

// ---- advice dialogs ----

TEST(AdviceDialogs, RunTheOpenHookEachTimeTheyOpen) {
  std::vector<std::unique_ptr<AdviceDialog>> dialogs;
  dialogs.push_back(std::make_unique<CMsgStand>());
  dialogs.push_back(std::make_unique<CAdvanceDlg>());
  for (auto& dialog : dialogs) {
    int hookCalls = 0;
    dialog->onOpen = [&hookCalls] { ++hookCalls; };
    QSignalSpy opened(dialog.get(), &AdviceDialog::opened);
    dialog->show();
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(opened.count(), 1);
    click(*dialog, "ok");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    dialog->show();
    EXPECT_EQ(hookCalls, 2);
    dialog->onOpen = nullptr;  // the captured counter goes out of scope
  }
}

// ---- splash ----

struct SplashCase {
  const char* name;
  std::optional<bool> logEmpty;   // nullopt: hook not set
  std::optional<bool> logLoaded;  // nullopt: hook not set
  bool closes;
  int loadedQueries;
};

class SplashTick : public ::testing::TestWithParam<SplashCase> {};

TEST_P(SplashTick, ClosesWhenNothingIsLeftToWaitFor) {
  const auto& c = GetParam();
  CSplash splash;
  int queries = 0;
  if (c.logEmpty) splash.commandLineLogEmpty = [v = *c.logEmpty] { return v; };
  if (c.logLoaded) {
    splash.takeLogLoaded = [&queries, v = *c.logLoaded] {
      ++queries;
      return v;
    };
  }
  splash.show();
  splash.checkProgress();
  EXPECT_EQ(splash.isVisible(), !c.closes);
  EXPECT_EQ(queries, c.loadedQueries);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplashTick,
                         ::testing::Values(SplashCase{"NoLogOnCommandLine", true, false, true, 0},
                                           SplashCase{"LogStillLoading", false, false, false, 1},
                                           SplashCase{"LogLoaded", false, true, true, 1},
                                           SplashCase{"NoHooks", std::nullopt, std::nullopt, true, 0},
                                           SplashCase{"NoLoadedHook", false, std::nullopt, false, 0}),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(Splash, TicksEveryTwoSecondsWhileShown) {
  CSplash splash;
  auto* timer = splash.findChild<QTimer*>(QStringLiteral("splashTimer"));
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->isActive());
  splash.commandLineLogEmpty = [] { return false; };
  splash.show();
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 2000);
  splash.takeLogLoaded = [] { return true; };
  splash.checkProgress();
  EXPECT_FALSE(timer->isActive());
}

}  // namespace
}  // namespace dravel::app
