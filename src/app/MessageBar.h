#pragma once

#include <QFrame>

#include <functional>
#include <vector>

class QLabel;
class QHBoxLayout;
class QPushButton;
class QToolButton;

// A bar across the window for what the user has to know or act on: the reason in plain words,
// wrapped rather than cut, the action that mends it, and a button that dismisses it. Messages
// have topics: a new message of a topic replaces the old one, and clearing a topic (its problem
// was resolved) takes its message away. The newest message shows; when it goes, the one before
// comes back.
class MessageBar : public QFrame {
    Q_OBJECT

public:
    enum class Kind { Information, Warning, Error };
    struct Action {
        QString text;
        std::function<void()> run;
    };

    explicit MessageBar(QWidget* parent = nullptr);
    ~MessageBar() override;

    void showMessage(const QString& topic, Kind kind, const QString& text,
                     std::vector<Action> actions = {});
    void clearMessage(const QString& topic);

    // What shows now; empty while the bar is hidden.
    QString text() const;
    QString topic() const;
    Kind kind() const;
    QList<QPushButton*> actionButtons() const;
    QToolButton* closeButton() const { return _close; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Message {
        QString topic;
        Kind kind;
        QString text;
        std::vector<Action> actions;
    };
    void present();
    void dismiss();
    void fitText();

    std::vector<Message> _messages; // oldest first; the last one shows
    QLabel* _icon = nullptr;
    QLabel* _text = nullptr;
    QHBoxLayout* _buttons = nullptr;
    QToolButton* _close = nullptr;
};
