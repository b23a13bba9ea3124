#pragma once
#include <QAbstractScrollArea>
#include <QMainWindow>
#include <utility>
#include <vector>

#include "platform/window_system.h"

// The window's size before it has one of its own.
inline constexpr int kOpeningWidth = 1200;
inline constexpr int kOpeningHeight = 860;

class QProgressBar;
class QPushButton;

// The main window's client area: white, with both scroll bars, painted by
// the window procedure, the push buttons on it. Its size, the mouse buttons,
// moves and wheel, and the operator's moves of the scroll bars become
// messages; the window procedure sets the scroll bars.
class ClientArea : public QAbstractScrollArea {
public:
    explicit ClientArea(WindowProc proc);
    void set_scroll_bars(const ScrollRange& horizontal, const ScrollRange& vertical);
    void set_look(const Look& look);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void send_mouse(WindowMessage kind, QMouseEvent* e);
    WindowProc proc_;
    Look look_;
};

// The status line: its text wrapped at the width it has, as tall as that text
// needs. A new text of the same height is only repainted, and while the
// machine works the line does not shrink: laying the window out again at
// every tick of a job's seconds, or whenever a silent controller's wait comes
// and goes, would repaint the whole window while it waits for the controller.
class StatusText : public QWidget {
public:
    StatusText();
    const QString& text() const { return text_; }
    void set_text(const QString& text);
    // While held, the line grows for a longer text but keeps its height for a shorter one.
    void hold_height(bool hold);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void fit();
    QString text_;
    bool fit_pending_ = false;
    bool holding_ = false;
};

// The main window: class and title "zel", the menu bar of the resources, and
// the client area. Every menu command, button press, key, mouse action in the
// client area, paint and close request becomes a message to the window procedure.
class MainWindow : public QMainWindow {
public:
    explicit MainWindow(WindowProc proc);

    // Sends the create message; the window is shown after it.
    void create();
    // A push button on the client area; one of the same id is moved instead.
    QPushButton* add_button(const QString& label, int id, int x, int y, int w, int h);
    // Large fonts for the status line and the buttons, and the drawing
    // area's look.
    void set_look(const Look& look);
    QWidget* client() const;
    StatusText* status_text() const { return status_; }
    void set_status_text(const QString& text);
    QProgressBar* progress_bar() const { return progress_; }
    QPushButton* stop_button() const { return stop_; }
    // The status line's command buttons (Resume, Connect), by command id.
    QPushButton* command_button(int id) const;
    // The menu item of a command id, or nullptr.
    QAction* menu_action(int id) const;
    // Machine work under way: every menu item and push button is disabled
    // but Stop.
    void set_busy(bool busy);
    ClientArea* client_area() const { return client_; }
    int send(const Message& m) { return proc_(m); }

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void command(int id);
    void add_shortcuts();
    QFont look_font() const;

    WindowProc proc_;
    ClientArea* client_;
    StatusText* status_;
    QProgressBar* progress_;
    QPushButton* stop_;
    std::vector<std::pair<int, QPushButton*>> command_buttons_;
    std::vector<std::pair<int, QPushButton*>> buttons_;  // on the client area, by id
    Look look_;
};

// True while the program waits for the controller and the window only
// repaints and answers the desktop: no commands or clicks are taken, but
// Stop, Esc and the close box are (the window procedure decides what they do).
bool waiting_for_machine();
void set_waiting_for_machine(bool waiting);
