// The real Qt window on Qt's offscreen platform: its geometry, every control
// with its place, size, texts and properties, the keys, the timer and the
// window operations the handlers call.
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/handlers.h"
#include "app/main_window_description.h"
#include "platform/linux/main_window_qt.h"
#include "tests/app/fake_services.h"
#include "tests/platform/linux/qt_test_support.h"
#include "text/fatal_error.h"

namespace quorvel {
namespace {

using ::quorvel::testing::Cp936;
using ::quorvel::testing::FakeHttpProvider;
using ::quorvel::testing::FakeRegexProvider;
using ::quorvel::testing::ProcessEventsUntil;
using ::quorvel::testing::TestApplication;

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Chinese text arrives in a control as an input method's commit.
void TypeChinese(QWidget* control, const char* utf8) {
  QInputMethodEvent commit;
  commit.setCommitString(Q(utf8));
  QApplication::sendEvent(control, &commit);
}

class MainWindowQtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    window_ = std::make_unique<MainWindowQt>();
    window_->SetEventHandlers([this] { Click(); }, [this] { ++ticks_; });
  }

  template <typename T>
  T* Control(const char* name) {
    return window_->widget()->findChild<T*>(Q(name));
  }
  QPushButton* Button() { return Control<QPushButton>("按钮_检测"); }
  QTimer* Timer() { return window_->widget()->findChild<QTimer*>(Q("时钟_检测")); }

  void ShowAndActivate() {
    window_->Show();
    window_->widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_->widget()));
  }

  void Click() {
    MonitorServices services{*window_, web_, regex_};
    OnDetectButtonClicked(services);
  }

  std::unique_ptr<MainWindowQt> window_;
  FakeHttpProvider web_;
  FakeRegexProvider regex_;
  int ticks_ = 0;
};

TEST_F(MainWindowQtTest, WindowIsFixedAndCentred) {
  ShowAndActivate();
  QWidget* w = window_->widget();
  EXPECT_EQ(w->frameGeometry().size(), QSize(703, 338));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(w->frameGeometry().topLeft(),
            QPoint(screen.x() + (screen.width() - 703) / 2, screen.y() + (screen.height() - 338) / 2));
  EXPECT_EQ(w->minimumSize(), w->maximumSize());
  const Qt::WindowFlags flags = w->windowFlags();
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(window_->IsAlwaysOnTop());
  EXPECT_EQ(w->windowTitle(), Q("Quorvel"));
  EXPECT_EQ(w->windowState(), Qt::WindowNoState);
  EXPECT_EQ(w->parentWidget(), nullptr);
  const QList<QSize> iconSizes = w->windowIcon().availableSizes();
  for (int pixels : {16, 32, 48}) EXPECT_TRUE(iconSizes.contains(QSize(pixels, pixels))) << pixels;

  const QFont guiFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  EXPECT_EQ(w->font(), guiFont);
  for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    EXPECT_EQ(child->font(), guiFont) << child->objectName().toStdString();
  }

  // A resize from outside does not change the size.
  w->resize(900, 500);
  EXPECT_EQ(w->frameGeometry().size(), QSize(703, 338));
}

TEST_F(MainWindowQtTest, EveryControlHasItsPlaceSizeAndText) {
  ShowAndActivate();
  QWidget* w = window_->widget();
  const QObjectList stacking = w->children();  // the last child is drawn on top
  int above = stacking.size();
  for (int i = 0; i < kMainWindow.controlCount; ++i) {
    const ControlDescription& c = kMainWindow.controls[i];
    SCOPED_TRACE(c.name);
    if (c.kind == ControlKind::kTimer) {
      ASSERT_NE(Timer(), nullptr);
      EXPECT_FALSE(Timer()->isActive());
      EXPECT_EQ(window_->DetectTimerPeriod(), 0);
      continue;
    }
    QWidget* control = Control<QWidget>(c.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->geometry(), QRect(c.left, c.top, c.width, c.height));
    EXPECT_TRUE(control->isVisible());
    const int index = stacking.indexOf(control);
    EXPECT_LT(index, above) << "listed first means on top";
    above = index;
  }

  EXPECT_EQ(Control<QLabel>("透明标签3")->text(), Q("监控提示"));
  EXPECT_EQ(Control<QLabel>("透明标签2")->text(), Q("  登录\ncookies："));
  EXPECT_EQ(Control<QLabel>("透明标签1")->text(), Q("监控网址："));
  EXPECT_EQ(Button()->text(), Q("开始检测"));
  EXPECT_EQ(window_->ReadDetectButtonCaption(), Text(kStartCaption));
  for (EditBox box : {EditBox::kAddress, EditBox::kCookies, EditBox::kStatus}) {
    EXPECT_EQ(window_->ReadEditText(box), Text());
  }
}

TEST_F(MainWindowQtTest, ControlsHaveTheirProperties) {
  ShowAndActivate();
  for (const char* name : {"透明标签1", "透明标签2", "透明标签3"}) {
    SCOPED_TRACE(name);
    QLabel* label = Control<QLabel>(name);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_EQ(label->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
  }
  EXPECT_EQ(Control<QLabel>("透明标签1")->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
  EXPECT_FALSE(Control<QLabel>("透明标签1")->wordWrap());
  EXPECT_EQ(Control<QLabel>("透明标签2")->alignment(), Qt::AlignLeft | Qt::AlignTop);
  EXPECT_TRUE(Control<QLabel>("透明标签2")->wordWrap());

  QLineEdit* address = Control<QLineEdit>("编辑框_网址");
  ASSERT_NE(address, nullptr);
  EXPECT_FALSE(address->isReadOnly());
  EXPECT_EQ(address->echoMode(), QLineEdit::Normal);
  EXPECT_TRUE(address->hasFrame());
  EXPECT_GE(address->maxLength(), 0x7FFFFFFE);
  EXPECT_EQ(address->focusPolicy(), Qt::StrongFocus);
  for (const char* name : {"编辑框_cookies", "编辑框_提示"}) {
    SCOPED_TRACE(name);
    QPlainTextEdit* edit = Control<QPlainTextEdit>(name);
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(edit->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(edit->focusPolicy(), Qt::StrongFocus);
  }
  for (QWidget* box : {static_cast<QWidget*>(address), Control<QWidget>("编辑框_cookies"),
                       Control<QWidget>("编辑框_提示")}) {
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::black));
  }
  // No selection is shown while a box has no focus.
  for (const char* name : {"编辑框_cookies", "编辑框_网址", "编辑框_提示"}) {
    SCOPED_TRACE(name);
    QWidget* box = Control<QWidget>(name);
    box->setFocus();
    ASSERT_TRUE(ProcessEventsUntil([&] { return box->hasFocus(); }, 2000));
    for (const char* other : {"编辑框_cookies", "编辑框_网址", "编辑框_提示"}) {
      EXPECT_EQ(Control<QWidget>(other)->palette().color(QPalette::Highlight) == QColor(Qt::white),
                other != name)
          << other;
    }
  }

  EXPECT_FALSE(Button()->autoDefault());
  EXPECT_FALSE(Button()->isDefault());
  EXPECT_EQ(Button()->focusPolicy(), Qt::StrongFocus);
}

// The labels draw their text over the window's own background, beyond their
// rectangle when the text is wider.
TEST_F(MainWindowQtTest, LabelsAreTransparentAndDrawTheirText) {
  ShowAndActivate();
  QWidget* w = window_->widget();
  const QImage image = w->grab().toImage();
  const QColor background = w->palette().color(QPalette::Window);
  for (const char* name : {"透明标签1", "透明标签2", "透明标签3"}) {
    SCOPED_TRACE(name);
    const QRect place = Control<QLabel>(name)->geometry();
    int ink = 0;
    for (int y = place.top(); y <= place.bottom(); ++y) {
      for (int x = place.left(); x <= place.right(); ++x) {
        if (qGray(image.pixel(x, y)) < 100) ++ink;
      }
    }
    EXPECT_GT(ink, 20) << "text drawn";
    // A corner the text does not reach shows the window's background.
    EXPECT_EQ(QColor(image.pixel(place.right(), place.bottom())), background);
  }
}

TEST_F(MainWindowQtTest, ButtonTogglesCaptionAndTimer) {
  ShowAndActivate();
  QTest::mouseClick(Button(), Qt::LeftButton);
  EXPECT_EQ(Button()->text(), Q("停止检测"));
  EXPECT_TRUE(Timer()->isActive());
  EXPECT_EQ(Timer()->interval(), 3000);
  EXPECT_EQ(window_->DetectTimerPeriod(), 3000);
  QTest::mouseClick(Button(), Qt::LeftButton);
  EXPECT_EQ(Button()->text(), Q("开始检测"));
  EXPECT_FALSE(Timer()->isActive());
  EXPECT_EQ(ticks_, 0) << "no cycle runs within 3000 ms of the click";
}

TEST_F(MainWindowQtTest, WritingTheSamePeriodLeavesTheCountRunning) {
  window_->WriteDetectTimerPeriod(3000);
  QTest::qWait(700);
  const int left = Timer()->remainingTime();
  ASSERT_GT(left, 0);
  ASSERT_LT(left, 2600);
  window_->WriteDetectTimerPeriod(3000);
  EXPECT_LE(Timer()->remainingTime(), left);

  // Another period starts anew.
  window_->WriteDetectTimerPeriod(2999);
  EXPECT_GT(Timer()->remainingTime(), left);
  for (int stop : {0, -5}) {
    window_->WriteDetectTimerPeriod(stop);
    EXPECT_FALSE(Timer()->isActive()) << stop;
  }

  window_->WriteDetectTimerPeriod(50);
  EXPECT_TRUE(ProcessEventsUntil([this] { return ticks_ >= 3; }, 5000));
  window_->WriteDetectTimerPeriod(0);
}

TEST_F(MainWindowQtTest, AppendEditTextAddsAtTheEndAfterTypedText) {
  ShowAndActivate();
  QPlainTextEdit* status = Control<QPlainTextEdit>("编辑框_提示");
  status->setFocus();
  ASSERT_TRUE(ProcessEventsUntil([&] { return status->hasFocus(); }, 2000));
  TypeChinese(status, "我的");
  QTest::keyClicks(status, Q("note"));
  QTest::keyClick(status, Qt::Key_Return);
  QTest::keyClicks(status, Q("x"));
  // The caret at the start with a selection: the text still goes to the end.
  QTextCursor cursor = status->textCursor();
  cursor.setPosition(0);
  cursor.setPosition(2, QTextCursor::KeepAnchor);
  status->setTextCursor(cursor);

  window_->AppendEditText(EditBox::kStatus, Cp936("签到未开始\r\n"));
  EXPECT_EQ(window_->ReadEditText(EditBox::kStatus), Cp936("我的note\r\nx签到未开始\r\n"));
  EXPECT_TRUE(status->textCursor().atEnd());
  EXPECT_FALSE(status->textCursor().hasSelection());

  for (int i = 0; i < 60; ++i) window_->AppendEditText(EditBox::kStatus, Cp936("签到未开始\r\n"));
  QScrollBar* bar = status->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum()) << "the end is in view";
  EXPECT_FALSE(status->document()->isUndoAvailable());
}

TEST_F(MainWindowQtTest, EditBoxesReadWithCrLf) {
  ShowAndActivate();
  QPlainTextEdit* cookies = Control<QPlainTextEdit>("编辑框_cookies");
  cookies->setFocus();
  ASSERT_TRUE(ProcessEventsUntil([&] { return cookies->hasFocus(); }, 2000));
  QTest::keyClicks(cookies, Q("a=1;"));
  QTest::keyClick(cookies, Qt::Key_Return);
  QTest::keyClicks(cookies, Q("b="));
  TypeChinese(cookies, "签");
  EXPECT_EQ(window_->ReadEditText(EditBox::kCookies), Cp936("a=1;\r\nb=签"));

  QLineEdit* address = Control<QLineEdit>("编辑框_网址");
  address->setText(Q("http://127.0.0.1/课程"));
  EXPECT_EQ(window_->ReadEditText(EditBox::kAddress), Cp936("http://127.0.0.1/课程"));
}

TEST_F(MainWindowQtTest, EscClosesTheWindowFromEveryControl) {
  for (const char* name : {"编辑框_网址", "编辑框_cookies", "编辑框_提示", "按钮_检测"}) {
    for (bool watching : {false, true}) {
      SCOPED_TRACE(std::string(name) + (watching ? " while watching" : ""));
      window_ = std::make_unique<MainWindowQt>();
      window_->SetEventHandlers([this] { Click(); }, [] {});
      ShowAndActivate();
      if (watching) QTest::mouseClick(Button(), Qt::LeftButton);
      QWidget* control = Control<QWidget>(name);
      control->setFocus();
      ASSERT_TRUE(ProcessEventsUntil([&] { return control->hasFocus(); }, 2000));
      QTest::keyClick(control, Qt::Key_Escape);
      EXPECT_FALSE(window_->widget()->isVisible());
    }
  }
}

TEST_F(MainWindowQtTest, EnterNeverPressesTheButton) {
  ShowAndActivate();
  for (const char* name : {"按钮_检测", "编辑框_网址"}) {
    SCOPED_TRACE(name);
    QWidget* control = Control<QWidget>(name);
    control->setFocus();
    ASSERT_TRUE(ProcessEventsUntil([&] { return control->hasFocus(); }, 2000));
    QTest::keyClick(control, Qt::Key_Return);
    QTest::keyClick(control, Qt::Key_Enter);
    EXPECT_EQ(Button()->text(), Q("开始检测"));
    EXPECT_FALSE(Timer()->isActive());
    EXPECT_TRUE(control->hasFocus()) << "the focus stays";
  }
  QPlainTextEdit* cookies = Control<QPlainTextEdit>("编辑框_cookies");
  cookies->setFocus();
  ASSERT_TRUE(ProcessEventsUntil([&] { return cookies->hasFocus(); }, 2000));
  QTest::keyClick(cookies, Qt::Key_Return);
  EXPECT_EQ(window_->ReadEditText(EditBox::kCookies), Text("\r\n"));
  EXPECT_EQ(Button()->text(), Q("开始检测"));
}

TEST_F(MainWindowQtTest, AlwaysOnTopNeitherMovesNorActivates) {
  ShowAndActivate();
  QWidget other;
  other.setGeometry(10, 10, 100, 100);
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  QWidget* w = window_->widget();
  const QRect before = w->frameGeometry();
  struct {
    int32_t flag;
    bool onTop;
  } cases[] = {{1, true}, {0, false}, {1, true}, {2, false}, {-1, false}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.flag);
    window_->SetAlwaysOnTop(c.flag);
    QTest::qWait(20);
    EXPECT_EQ(window_->IsAlwaysOnTop(), c.onTop);
    EXPECT_EQ(w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), c.onTop);
    EXPECT_EQ(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.onTop);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->frameGeometry(), before);
    EXPECT_EQ(QApplication::activeWindow(), &other);
  }
}

TEST_F(MainWindowQtTest, MessageBoxHasItsCaptionOneOkButtonAndNoIcon) {
  ShowAndActivate();
  struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    int buttons = 0;
    Qt::WindowModality modality = Qt::NonModal;
  } seen;
  bool shown = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    shown = true;
    seen = {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size()),
            box->windowModality()};
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  watcher.start(20);
  window_->ShowMessageBox(kAlertMessage);
  watcher.stop();
  ASSERT_TRUE(shown);
  EXPECT_EQ(seen.title, Q("信息："));
  EXPECT_EQ(seen.text, Q("签到已经开始，请自行签到！！"));
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_EQ(seen.modality, Qt::ApplicationModal);
}

// A fatal error shows its reason in a dialog with the error icon (dismissed
// here), then ends the process with exit code -1.
TEST(FatalErrorQtTest, ReportsInADialogAndEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TestApplication();
        SetFatalErrorReporter(ReportFatalErrorQt);
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
          auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          if (box == nullptr || !box->isVisible()) return;
          std::fprintf(stderr, "dialog %d %s\n", static_cast<int>(box->icon()),
                       box->text().toUtf8().constData());
          box->button(QMessageBox::Ok)->click();
        });
        closer.start(20);
        FatalError(Cp936("数组下标越界"));
      },
      ::testing::ExitedWithCode(255), "fatal error: 数组下标越界.*dialog 3 数组下标越界");
}

}  // namespace
}  // namespace quorvel
