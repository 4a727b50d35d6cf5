#include "platform/linux/main_window_qt.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "app/main_window_description.h"
#include "platform/linux/file_operations_linux.h"
#include "resources/program_icon.h"
#include "text/code_page_conversion.h"

namespace quorvel {

QString ToQString(const Text& text) { return QString::fromStdU16String(ToAutomationString(text)); }

Text FromQString(const QString& s) { return FromAutomationString(s.toStdU16String()); }

namespace {

// Qt's text controls break lines with a line feed; the program's texts with CR LF.
QString ToQtLines(const Text& text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

Text FromQtLines(QString s) {
  s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return FromQString(s);
}

// A label that draws nothing itself: its window draws its text over the
// window's background, unclipped, as a transparent label does.
class TransparentLabel final : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {}
};

QIcon ProgramIcon() {
  QIcon icon;
  for (int pixels : {16, 32, 48}) {
    const Bytes png = ProgramIconPng(pixels);
    QPixmap image;
    image.loadFromData(png.data().data(), static_cast<uint>(png.length()), "PNG");
    icon.addPixmap(image);
  }
  return icon;
}

// Selection colours for an edit box: the usual ones while it has the focus,
// none while it has not, so that an unfocused box hides its selection.
void ShowSelection(QWidget* box, bool show) {
  QPalette palette = box->palette();
  const QPalette standard = QApplication::palette(box);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Highlight,
                     show ? standard.color(group, QPalette::Highlight) : QColor(Qt::white));
    palette.setColor(group, QPalette::HighlightedText,
                     show ? standard.color(group, QPalette::HighlightedText) : QColor(Qt::black));
  }
  box->setPalette(palette);
}

}  // namespace

class MainWindowWidget final : public QWidget {
 public:
  MainWindowWidget() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(ToQString(kMainWindow.caption));
    setWindowIcon(ProgramIcon());
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setAutoFillBackground(true);

    // Qt stacks a later child above an earlier one, and the description
    // lists the topmost control first.
    for (int i = kMainWindow.controlCount - 1; i >= 0; --i) AddControl(kMainWindow.controls[i]);

    setTabOrder(address, cookies);
    setTabOrder(cookies, status);
    setTabOrder(status, button);
    FitOuterSize();
    qApp->installEventFilter(this);

    QObject::connect(button, &QPushButton::clicked, this, [this] {
      if (onDetectButtonClicked) onDetectButtonClicked();
    });
    QObject::connect(timer, &QTimer::timeout, this, [this] {
      if (onDetectTimerTick) onDetectTimerTick();
    });
  }

  QWidget* EditBoxWidget(EditBox box) const {
    switch (box) {
      case EditBox::kAddress:
        return address;
      case EditBox::kCookies:
        return cookies;
      case EditBox::kStatus:
        return status;
    }
    return nullptr;
  }

  QLineEdit* address = nullptr;
  QPlainTextEdit* cookies = nullptr;
  QPlainTextEdit* status = nullptr;
  QPushButton* button = nullptr;
  QTimer* timer = nullptr;
  std::vector<TransparentLabel*> labels;
  std::function<void()> onDetectButtonClicked;
  std::function<void()> onDetectTimerTick;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    for (TransparentLabel* label : labels) {
      painter.setFont(label->font());
      painter.setPen(Qt::black);
      const int wrap = label->wordWrap() ? Qt::TextWordWrap : 0;
      painter.drawText(label->geometry(), static_cast<int>(label->alignment()) | wrap | Qt::TextDontClip,
                       label->text());
    }
  }

  // Esc closes the window from whichever control has the focus, before any
  // control can claim the key; a multi-line edit box would otherwise keep it.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Escape && static_cast<QWidget*>(watched)->window() == this) {
        close();
        return true;
      }
    }
    if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) &&
        (watched == address || watched == cookies || watched == status)) {
      ShowSelection(static_cast<QWidget*>(watched), event->type() == QEvent::FocusIn);
    }
    return QWidget::eventFilter(watched, event);
  }

  // The window manager adds its frame only once the window is shown; the
  // client area then shrinks so that the outer size stays 703 x 338.
  bool event(QEvent* event) override {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::Move ||
        event->type() == QEvent::Resize) {
      FitOuterSize();
    }
    return handled;
  }

 private:
  void FitOuterSize() {
    QMargins frame;
    if (QWindow* handle = windowHandle()) frame = handle->frameMargins();
    const QSize client(kMainWindow.outerWidth - frame.left() - frame.right(),
                       kMainWindow.outerHeight - frame.top() - frame.bottom());
    if (minimumSize() != client || maximumSize() != client) setFixedSize(client);
  }

  void AddControl(const ControlDescription& control) {
    const QString name = QString::fromUtf8(control.name);
    const QRect place(control.left, control.top, control.width, control.height);
    switch (control.kind) {
      case ControlKind::kTransparentLabel: {
        auto* label = new TransparentLabel(ToQtLines(control.initialText), this);
        label->setGeometry(place);
        label->setFrameShape(QFrame::NoFrame);
        label->setAutoFillBackground(false);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setFocusPolicy(Qt::NoFocus);
        if (control.layout == TextLayout::kWordWrapFromTop) {
          label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
          label->setWordWrap(true);
        } else {
          label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
        label->setObjectName(name);
        labels.insert(labels.begin(), label);
        return;
      }
      case ControlKind::kEditBox: {
        QWidget* box = nullptr;
        if (control.layout == TextLayout::kSingleLineEdit) {
          auto* line = new QLineEdit(ToQString(control.initialText), this);
          line->setMaxLength(std::numeric_limits<int>::max());
          line->setFrame(true);
          address = line;
          box = line;
        } else {
          auto* edit = new QPlainTextEdit(ToQtLines(control.initialText), this);
          edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
          edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
          edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
          edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
          edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
          edit->setTabChangesFocus(true);
          if (std::strcmp(control.name, "编辑框_提示") == 0) {
            status = edit;
          } else {
            cookies = edit;
          }
          box = edit;
        }
        box->setGeometry(place);
        box->setFocusPolicy(Qt::StrongFocus);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        box->setPalette(palette);
        ShowSelection(box, false);
        box->setObjectName(name);
        return;
      }
      case ControlKind::kPushButton:
        button = new QPushButton(ToQString(control.initialText), this);
        button->setGeometry(place);
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setObjectName(name);
        return;
      case ControlKind::kTimer:
        timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setObjectName(name);
        return;
    }
  }
};

MainWindowQt::MainWindowQt()
    : window_(std::make_unique<MainWindowWidget>()), caption_(window_->button != nullptr
                                                                  ? FromQString(window_->button->text())
                                                                  : Text()) {}

MainWindowQt::~MainWindowQt() = default;

void MainWindowQt::SetEventHandlers(std::function<void()> detectButtonClicked,
                                    std::function<void()> detectTimerTick) {
  window_->onDetectButtonClicked = std::move(detectButtonClicked);
  window_->onDetectTimerTick = std::move(detectTimerTick);
}

void MainWindowQt::Show() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    window_->move(area.x() + (area.width() - kMainWindow.outerWidth) / 2,
                  area.y() + (area.height() - kMainWindow.outerHeight) / 2);
  }
  window_->address->setFocus();
  window_->showNormal();
}

QWidget* MainWindowQt::widget() const { return window_.get(); }

Text MainWindowQt::ReadEditText(EditBox box) {
  QWidget* widget = window_->EditBoxWidget(box);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return FromQString(line->text());
  return FromQtLines(static_cast<QPlainTextEdit*>(widget)->toPlainText());
}

Text MainWindowQt::ReadDetectButtonCaption() { return caption_; }

void MainWindowQt::WriteDetectButtonCaption(const Text& caption) {
  caption_ = caption;
  window_->button->setText(ToQString(caption));
}

void MainWindowQt::WriteDetectTimerPeriod(int32_t milliseconds) {
  // The same period again leaves a running count alone.
  if (milliseconds == timerPeriod_) return;
  timerPeriod_ = milliseconds;
  window_->timer->stop();
  if (milliseconds > 0) window_->timer->start(milliseconds);
}

void MainWindowQt::AppendEditText(EditBox box, const Text& text) {
  QWidget* widget = window_->EditBoxWidget(box);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->end(false);
    line->insert(ToQString(text));
    return;
  }
  auto* edit = static_cast<QPlainTextEdit*>(widget);
  QTextCursor cursor = edit->textCursor();
  cursor.movePosition(QTextCursor::End);
  // Added without an undo record: switching undo off and on empties the stack.
  QTextDocument* document = edit->document();
  const bool undo = document->isUndoRedoEnabled();
  document->setUndoRedoEnabled(false);
  cursor.insertText(ToQtLines(text));
  document->setUndoRedoEnabled(undo);
  edit->setTextCursor(cursor);
  edit->ensureCursorVisible();
}

void MainWindowQt::SetAlwaysOnTop(int32_t flag) {
  alwaysOnTop_ = flag == 1;
  Qt::WindowFlags flags = window_->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, alwaysOnTop_);
  if (QWindow* handle = window_->windowHandle()) {
    // QWidget::setWindowFlags() would hide the window and show it again,
    // activated; the native window takes the new band as it stands.
    window_->overrideWindowFlags(flags);
    handle->setFlags(flags);
  } else {
    window_->setWindowFlags(flags);
  }
}

void MainWindowQt::ShowMessageBox(const Text& text) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(kMessageBoxCaption), ToQtLines(text),
                  QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void MainWindowQt::PlayMp3(int32_t playCount, const Text& path) {
  player_.Play(playCount, FileSystemPath(path));
}

bool MainWindowQt::WriteFileBytes(const Text& path, const Bytes& bytes) {
  return ::quorvel::WriteFileBytes(path, bytes);
}

int32_t MainWindowQt::PathFileExistsA(const Text& path) { return ::quorvel::PathFileExistsA(path); }

Text MainWindowQt::AlertSoundPath() { return ::quorvel::AlertSoundPath(); }

void ReportFatalErrorQt(const Text& reason) {
  std::fprintf(stderr, "Quorvel: fatal error: %s\n", ToQString(reason).toUtf8().constData());
  std::fflush(stderr);
  // A dialog only once the window system is up: a screen to show it on.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
      QGuiApplication::primaryScreen() != nullptr) {
    QMessageBox::critical(nullptr, QStringLiteral("Quorvel"), ToQString(reason));
  }
}

}  // namespace quorvel
