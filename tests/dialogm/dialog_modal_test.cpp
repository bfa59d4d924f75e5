// Real dialogs driven headless: values pushed into the window, callbacks fired by typing and
// clicking, keyboard handling, read-back on exit, nesting.
#include "dialogm/dialog.h"
#include "dialogm/dialog_widget.h"
#include "dialogm/template_store.h"
#include "tests/dialogm/template_builder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

namespace {

using Step = std::function<void()>;

void run_next(const std::shared_ptr<std::deque<Step>>& queue) {
    if (queue->empty()) return;
    Step step = queue->front();
    queue->pop_front();
    step();
    QTimer::singleShot(0, [queue] { run_next(queue); });
}

// Runs steps one after another inside the modal loop that starts next, each from its own turn
// of the event loop.
void schedule(std::vector<Step> steps) {
    auto queue = std::make_shared<std::deque<Step>>(steps.begin(), steps.end());
    QTimer::singleShot(0, [queue] { run_next(queue); });
}

// Ends a dialog that a failing test left open, so that the suite cannot hang. The timer may
// fire after its test has ended, when d is gone: it acts only within the test that set it.
void watchdog(Dialog& d) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    QTimer::singleShot(10000, [&d, test] {
        if (testing::UnitTest::GetInstance()->current_test_info() != test) return;
        if (d.window) {
            ADD_FAILURE() << "dialog " << d.template_id << " left open";
            dlg_exit(d);
        }
    });
}

void send_key(QWidget* w, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

void type(QWidget* w, const QString& text) {
    for (QChar ch : text)
        send_key(w, 0, QString(ch));
}

QString widget_text(const Dialog& d, int32_t id) {
    QWidget* w = dialog_control_widget(d, id);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(w)) return box->title();
    return QStringLiteral("<none>");
}

std::string text_of(Dialog& d, int32_t id, int length) {
    std::string s(static_cast<size_t>(length), '#');
    if (!dlg_get(d, id, &s[0], length)) return "<failed>";
    return s;
}

bool set_text(Dialog& d, int32_t id, const std::string& s) {
    return dlg_set(d, id, s.c_str(), static_cast<int32_t>(s.size()));
}

std::string trimmed(const std::string& s) {
    size_t end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

// What the callbacks saw; reset by each test.
struct Seen {
    int changes = 0;                      // change callbacks
    int updates = 0;                      // update callbacks
    int clicks = 0;                       // click callbacks
    int dialog_calls = 0;                 // dialog callback calls
    int32_t last_id = 0;                  // control id of the last callback
    int32_t last_event = 99;              // event of the last callback
    bool set_callback_while_shown = true; // what dlg_set_callback answered while shown
    int32_t inner_result = 0;             // result of a nested dialog
    QWidget* inner_parent = nullptr;      // parent of the nested dialog's window
};
Seen seen;

void note(int32_t id, int32_t event) {
    seen.last_id = id;
    seen.last_event = event;
}

// Change callback of 1032: shows what was typed in the status 1033 and enables OK only for a
// non-empty text.
void on_hc_typed(Dialog& d, int32_t& id, int32_t& event) {
    ++seen.changes;
    note(id, event);
    char buf[50];
    dlg_get(d, id, buf, 50);
    std::string typed = trimmed(std::string(buf, 50));
    set_text(d, 1033, "Typed: " + typed);
    dlg_set(d, 1, !typed.empty());
}

void on_created(Dialog& d, int32_t& id, int32_t& event) {
    ++seen.dialog_calls;
    note(id, event);
    seen.set_callback_while_shown = dlg_set_callback(d, 1032, on_hc_typed);
    set_text(d, 1033, "Set when created");
}

// Change callback that writes its own edit: the write must not call it again.
void on_upper(Dialog& d, int32_t& id, int32_t& event) {
    ++seen.changes;
    note(id, event);
    char buf[20];
    dlg_get(d, id, buf, 20);
    for (char& c : buf)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    dlg_set(d, id, buf, 20);
}

void on_update(Dialog&, int32_t& id, int32_t& event) {
    ++seen.updates;
    note(id, event);
}

// Click callback of the cycle mode boxes of dialog 101.
void on_mode(Dialog& d, int32_t& id, int32_t& event) {
    ++seen.clicks;
    note(id, event);
    bool checked = false;
    dlg_get(d, id, checked);
    dlg_set(d, 1005, checked);
    dlg_set(d, 1006, checked);
    if (checked) dlg_set(d, id == 1004 ? 1009 : 1004, false);
}

Dialog* inner_dialog = nullptr;

// Execute of dialog 101 opens the axes dialog over it.
void on_execute(Dialog& d, int32_t& id, int32_t& event) {
    ++seen.clicks;
    note(id, event);
    Dialog& inner = *inner_dialog;
    dlg_init(inner, 103);
    QWidget* outer = dialog_widget(d);
    schedule({[&inner, outer] {
        seen.inner_parent = dialog_widget(inner)->parentWidget();
        EXPECT_NE(outer, nullptr);
        send_key(dialog_widget(inner), Qt::Key_Escape);
    }});
    watchdog(inner);
    seen.inner_result = dlg_modal(inner);
    // The same dialog cannot be shown twice at once.
    EXPECT_EQ(dlg_modal(d), -1);
}

class DialogModal : public testing::Test {
  protected:
    void SetUp() override { seen = Seen{}; }
};

} // namespace

TEST_F(DialogModal, DialogCallbackRunsOnceCreatedAndItsValuesAreShown) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 105));
    ASSERT_TRUE(set_text(d, 1032, "0.4"));
    ASSERT_TRUE(set_text(d, 1033, "Parameter Kmax = 3.238588"));
    ASSERT_TRUE(dlg_set_callback(d, 105, on_created));
    schedule({
        [&] {
            EXPECT_EQ(seen.dialog_calls, 1);
            EXPECT_EQ(seen.last_id, 105);
            EXPECT_EQ(seen.last_event, 0);
            EXPECT_FALSE(seen.set_callback_while_shown);
            EXPECT_EQ(widget_text(d, 1032), "0.4");
            EXPECT_EQ(widget_text(d, 1033), "Set when created"); // pushed after the callback
            EXPECT_EQ(widget_text(d, 1030), "Input value of the parameter Hc (0 < Hc < 1)");
            EXPECT_EQ(seen.changes, 0); // the layer's own writes call nothing
        },
        [&] {
            auto* edit = qobject_cast<QLineEdit*>(dialog_control_widget(d, 1032));
            ASSERT_NE(edit, nullptr);
            edit->setFocus();
            edit->selectAll();
            type(edit, "0.7");
            EXPECT_EQ(seen.changes, 0); // binding while shown failed: nothing is called
            send_key(edit, Qt::Key_Escape);
        },
    });
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 2);
    EXPECT_EQ(text_of(d, 1032, 4), "0.7 ");
}

TEST_F(DialogModal, ChangeCallbackUpdatesTheStatusAndOkEndsWithOne) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 105));
    ASSERT_TRUE(set_text(d, 1032, "0.4"));
    ASSERT_TRUE(dlg_set_callback(d, 1032, on_hc_typed));
    QLineEdit* edit = nullptr;
    schedule({
        [&] {
            edit = qobject_cast<QLineEdit*>(dialog_control_widget(d, 1032));
            ASSERT_NE(edit, nullptr);
            edit->setFocus();
            edit->selectAll();
            type(edit, "0.7");
            EXPECT_EQ(seen.changes, 3);
            EXPECT_EQ(seen.last_id, 1032);
            EXPECT_EQ(seen.last_event, sel_change);
            EXPECT_EQ(widget_text(d, 1033), "Typed: 0.7");
            // Clearing the edit disables OK, and Enter then does nothing.
            edit->clear();
            EXPECT_FALSE(dialog_control_widget(d, 1)->isEnabled());
            send_key(edit, Qt::Key_Return);
            EXPECT_NE(d.window, nullptr);
            type(edit, "0.25");
            EXPECT_TRUE(dialog_control_widget(d, 1)->isEnabled());
        },
        [&] { send_key(edit, Qt::Key_Return); }, // reaches the dialog: the default button
    });
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 1);
    EXPECT_EQ(d.window, nullptr);
    EXPECT_EQ(text_of(d, 1032, 6), "0.25  ");
    EXPECT_EQ(text_of(d, 1033, 12), "Typed: 0.25 ");
    EXPECT_TRUE(dlg_uninit(d));
}

TEST_F(DialogModal, AnEditWrittenFromItsOwnCallbackIsNotReentered) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 105));
    ASSERT_TRUE(dlg_set_callback(d, 1032, on_upper));
    ASSERT_TRUE(dlg_set_callback(d, 1032, on_update, sel_update));
    schedule({[&] {
                  QWidget* edit = dialog_control_widget(d, 1032);
                  edit->setFocus();
                  type(edit, "ab");
                  EXPECT_EQ(seen.changes, 2);
                  EXPECT_EQ(seen.updates, 2);
                  EXPECT_EQ(widget_text(d, 1032), "AB");
              },
              [&] { send_key(dialog_widget(d), Qt::Key_Escape); }});
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 2);
    EXPECT_EQ(text_of(d, 1032, 3), "AB ");
}

TEST_F(DialogModal, CancelReadsEveryControlBack) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 102));
    ASSERT_TRUE(set_text(d, 1011, "0.5"));
    ASSERT_TRUE(set_text(d, 1013, "0.25"));
    ASSERT_TRUE(dlg_set(d, 1015, true));
    ASSERT_TRUE(dlg_set(d, 1016, false));
    schedule({[&] {
        auto* r1 = qobject_cast<QAbstractButton*>(dialog_control_widget(d, 1015));
        auto* r2 = qobject_cast<QAbstractButton*>(dialog_control_widget(d, 1016));
        ASSERT_TRUE(r1 && r2);
        EXPECT_TRUE(r1->isChecked());
        EXPECT_FALSE(r2->isChecked());
        r2->click();
        EXPECT_FALSE(r1->isChecked());
        EXPECT_TRUE(r2->isChecked());
        r2->click(); // an automatic radio button stays checked
        EXPECT_TRUE(r2->isChecked());
        QWidget* edit = dialog_control_widget(d, 1011);
        edit->setFocus();
        type(edit, "7");
        send_key(edit, Qt::Key_Escape);
    }});
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 2);
    EXPECT_EQ(text_of(d, 1011, 5), "0.57 ");
    EXPECT_EQ(text_of(d, 1013, 5), "0.25 ");
    bool on = true;
    ASSERT_TRUE(dlg_get(d, 1015, on));
    EXPECT_FALSE(on);
    ASSERT_TRUE(dlg_get(d, 1016, on));
    EXPECT_TRUE(on);
}

namespace {
// Click callback that writes two controls and then ends the dialog itself.
void on_finish(Dialog& d, int32_t&, int32_t&) {
    set_text(d, 1032, "0.55");
    set_text(d, 1033, "Finished");
    dlg_set_return(d, 5);
    dlg_exit(d);
}
} // namespace

// Ending the dialog reads back what the window shows, but a value the ending callback has just
// set (not yet written to the window) is kept, not overwritten by the older window text.
TEST_F(DialogModal, ExitKeepsValuesSetJustBeforeIt) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 105));
    ASSERT_TRUE(set_text(d, 1032, "0.4"));
    ASSERT_TRUE(dlg_set_callback(d, 1, on_finish));
    schedule({[&] {
        QWidget* edit = dialog_control_widget(d, 1032);
        edit->setFocus();
        type(edit, "9");
        EXPECT_EQ(widget_text(d, 1032), "0.49");
        qobject_cast<QAbstractButton*>(dialog_control_widget(d, 1))->click();
    }});
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 5);
    EXPECT_EQ(text_of(d, 1032, 5), "0.55 ");
    EXPECT_EQ(text_of(d, 1033, 9), "Finished ");
    EXPECT_EQ(text_of(d, 2, 7), "Cancel "); // the rest read back from the window
}

TEST_F(DialogModal, WithoutIdOneEnterIsIgnoredAndCancelEndsWithTwo) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 101));
    schedule({[&] {
                  // Enter in an edit is a command for id 1, which this dialog does not have.
                  QWidget* edit = dialog_control_widget(d, 1002);
                  edit->setFocus();
                  send_key(edit, Qt::Key_Return);
              },
              [&] {
                  ASSERT_NE(d.window, nullptr); // still shown
                  qobject_cast<QAbstractButton*>(dialog_control_widget(d, 2))->click();
              }});
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 2);
}

namespace {
int execute_clicks = 0;
void on_execute_click(Dialog&, int32_t&, int32_t& event) {
    ++execute_clicks;
    EXPECT_EQ(event, sel_clicked);
}
} // namespace

// Enter presses the push button that has the focus (it is the default while it has it), and the
// template's default push button only when no push button has the focus.
TEST_F(DialogModal, EnterPressesTheFocusedPushButton) {
    {
        // Tabbing from OK to Cancel and pressing Enter cancels: nothing is confirmed.
        Dialog d;
        ASSERT_TRUE(dlg_init(d, 102));
        schedule({[&] {
            QWidget* w = dialog_widget(d);
            dialog_control_widget(d, 1)->setFocus();
            send_key(w->focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(w->focusWidget(), dialog_control_widget(d, 2));
            send_key(w->focusWidget(), Qt::Key_Return);
        }});
        watchdog(d);
        EXPECT_EQ(dlg_modal(d), 2);
    }
    {
        // Dialog 101 opens with the focus on its first tab stop, Cancel; Execute, once it has
        // the focus, runs its callback and the dialog stays.
        Dialog d;
        ASSERT_TRUE(dlg_init(d, 101));
        ASSERT_TRUE(dlg_set_callback(d, 1007, on_execute_click));
        execute_clicks = 0;
        schedule({[&] {
                      QWidget* w = dialog_widget(d);
                      EXPECT_EQ(w->focusWidget(), dialog_control_widget(d, 2));
                      dialog_control_widget(d, 1007)->setFocus();
                      send_key(w->focusWidget(), Qt::Key_Return);
                      EXPECT_EQ(execute_clicks, 1);
                      ASSERT_NE(d.window, nullptr);
                      send_key(w->focusWidget(), Qt::Key_Enter);
                      EXPECT_EQ(execute_clicks, 2);
                      ASSERT_NE(d.window, nullptr);
                  },
                  [&] {
                      dialog_control_widget(d, 2)->setFocus();
                      send_key(dialog_widget(d)->focusWidget(), Qt::Key_Return);
                  }});
        watchdog(d);
        EXPECT_EQ(dlg_modal(d), 2);
        EXPECT_EQ(execute_clicks, 2);
    }
}

TEST_F(DialogModal, TitleBarCloseActsAsCancel) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 103));
    schedule({[&] { dialog_widget(d)->close(); }});
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 2);
}

TEST_F(DialogModal, ClickCallbacksAndPushedEnabledStates) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 101));
    ASSERT_TRUE(set_text(d, 65535, "Current value of H:           Hc="));
    ASSERT_TRUE(dlg_set(d, 1005, false));
    ASSERT_TRUE(dlg_set(d, 1006, false));
    ASSERT_TRUE(dlg_set(d, 1004, false));
    ASSERT_TRUE(dlg_set_callback(d, 1004, on_mode));
    ASSERT_TRUE(dlg_set_callback(d, 1009, on_mode, sel_clicked));
    schedule({[&] {
                  EXPECT_FALSE(dialog_control_widget(d, 1006)->isEnabled());
                  qobject_cast<QAbstractButton*>(dialog_control_widget(d, 1004))->click();
                  EXPECT_EQ(seen.clicks, 1);
                  EXPECT_EQ(seen.last_id, 1004);
                  EXPECT_EQ(seen.last_event, sel_clicked);
                  EXPECT_TRUE(dialog_control_widget(d, 1005)->isEnabled());
                  EXPECT_TRUE(dialog_control_widget(d, 1006)->isEnabled());
                  qobject_cast<QAbstractButton*>(dialog_control_widget(d, 1009))->click();
                  EXPECT_FALSE(
                      qobject_cast<QAbstractButton*>(dialog_control_widget(d, 1004))->isChecked());
                  EXPECT_EQ(seen.last_id, 1009);
              },
              [&] { send_key(dialog_widget(d), Qt::Key_Escape); }});
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 2);
    bool on = false;
    ASSERT_TRUE(dlg_get(d, 1009, on));
    EXPECT_TRUE(on);
    ASSERT_TRUE(dlg_get(d, 1004, on));
    EXPECT_FALSE(on);
}

TEST_F(DialogModal, NestedDialogsOpenOverTheirOwnerAndRestoreIt) {
    Dialog outer, inner;
    inner_dialog = &inner;
    ASSERT_TRUE(dlg_init(outer, 101));
    ASSERT_TRUE(dlg_set_callback(outer, 1007, on_execute));
    QWidget* outer_widget = nullptr;
    schedule({[&] {
                  outer_widget = dialog_widget(outer);
                  qobject_cast<QAbstractButton*>(dialog_control_widget(outer, 1007))->click();
              },
              [&] {
                  EXPECT_EQ(seen.inner_result, 2);
                  EXPECT_EQ(seen.inner_parent, outer_widget);
                  EXPECT_NE(outer.window, nullptr);
                  EXPECT_EQ(inner.window, nullptr);
                  send_key(dialog_widget(outer), Qt::Key_Escape);
              }});
    watchdog(outer);
    EXPECT_EQ(dlg_modal(outer), 2);
    EXPECT_EQ(seen.clicks, 1);
    dlg_uninit(inner);
    inner_dialog = nullptr;
}

TEST_F(DialogModal, WindowThatCannotBeCreatedGivesMinusOne) {
    std::vector<unsigned char> bytes = build_template(dialog_105());
    add_template(910, bytes.data(), bytes.size());
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 910));
    remove_template(910);
    EXPECT_EQ(dlg_modal(d), -1);
    EXPECT_EQ(d.window, nullptr);
}

TEST_F(DialogModal, ControlsSitAtTheirRectanglesInDialogUnits) {
    for (const auto& [id, want] : program_dialogs()) {
        SCOPED_TRACE(id);
        Dialog d;
        ASSERT_TRUE(dlg_init(d, id));
        schedule({[&, id = id] {
            QWidget* w = dialog_widget(d);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->windowTitle().toStdString(), want.title);
            EXPECT_EQ(w->font().pointSize(), 8);
            EXPECT_EQ(w->font().family(), "Sans Serif");
            EXPECT_TRUE(w->isModal());
            QFontMetrics fm(w->font());
            int bx =
                (fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 +
                 1) /
                2;
            int by = fm.height();
            auto px = [](int du, int base) { return (du * base + 2) / 4; };
            auto py = [](int du, int base) { return (du * base + 4) / 8; };
            EXPECT_EQ(w->size(), QSize(px(want.cx, bx), py(want.cy, by)));
            for (const BuildItem& it : want.items) {
                QWidget* c = dialog_control_widget(d, it.id);
                ASSERT_NE(c, nullptr) << it.id;
                QRect rect(px(it.x, bx), py(it.y, by), px(it.cx, bx), py(it.cy, by));
                if (it.atom == 0x82 && (it.style & 0x1F) == 0) {
                    // A one-line left static may grow to the right to show all its text.
                    EXPECT_EQ(c->pos(), rect.topLeft()) << it.id;
                    EXPECT_EQ(c->height(), rect.height()) << it.id;
                    EXPECT_GE(c->width(), rect.width()) << it.id;
                    EXPECT_LE(c->geometry().right(), w->width()) << it.id;
                } else {
                    EXPECT_EQ(c->geometry(), rect) << it.id;
                }
                // The window shows the text without its trailing blanks.
                EXPECT_EQ(widget_text(d, it.id).toStdString(), trimmed(it.text)) << it.id;
            }
            if (want.x != 0 || want.y != 0) {
                QPoint origin = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
                EXPECT_EQ(w->pos(), origin + QPoint(px(want.x, bx), py(want.y, by)));
            }
            (void)id;
            send_key(w, Qt::Key_Escape);
        }});
        watchdog(d);
        EXPECT_EQ(dlg_modal(d), 2);
    }
}

// A one-line static given a text longer than its rectangle grows to the right, but never over
// the control beside it on the same lines, out of its group box or past the dialog's edge.
struct GrowthCase {
    int32_t dialog;    // template
    int32_t label;     // static that gets the long text
    int32_t neighbour; // control right of it; 0: the enclosing group box 1 of template 912
};

TEST_F(DialogModal, LongStaticTextsStopAtTheControlBeside) {
    BuildDialog boxed;
    boxed.cx = 200;
    boxed.cy = 80;
    boxed.items = {{kGroup, 0x80, 1, "box", 5, 5, 100, 40},
                   {kLeft, 0x82, 3, "s", 10, 15, 30, 8},
                   {kPush, 0x80, 2, "Cancel", 5, 60, 50, 14}};
    std::vector<unsigned char> bytes = build_template(boxed);
    add_template(912, bytes.data(), bytes.size());
    const GrowthCase cases[] = {{105, 1031, 1032}, {105, 1033, -1},   {101, 65535, 1000},
                                {101, 1001, 1002}, {101, 1005, 1006}, {102, 1017, 1},
                                {102, 1010, 1011}, {102, 1012, 1013}, {103, 1019, 1021},
                                {103, 1025, 1027}, {912, 3, 0}};
    for (const GrowthCase& gc : cases) {
        SCOPED_TRACE(std::to_string(gc.dialog) + " " + std::to_string(gc.label));
        Dialog d;
        ASSERT_TRUE(dlg_init(d, gc.dialog));
        ASSERT_TRUE(set_text(d, gc.label, "Long text " + std::string(80, 'W')));
        schedule({[&] {
            QWidget* w = dialog_widget(d);
            QWidget* label = dialog_control_widget(d, gc.label);
            ASSERT_TRUE(w && label);
            int right = label->geometry().x() + label->width(); // first x not covered
            EXPECT_LE(right, w->width());
            if (gc.neighbour > 0) {
                QWidget* next = dialog_control_widget(d, gc.neighbour);
                ASSERT_NE(next, nullptr);
                EXPECT_LE(right, next->geometry().x());
                EXPECT_GT(right, next->geometry().x() - 12); // it did grow up to there
            } else if (gc.neighbour == 0) {
                QWidget* box = dialog_control_widget(d, 1);
                EXPECT_LT(right, box->geometry().x() + box->width());
            } else {
                EXPECT_EQ(right, w->width()); // nothing beside it: up to the edge
            }
            send_key(w, Qt::Key_Escape);
        }});
        watchdog(d);
        EXPECT_EQ(dlg_modal(d), 2);
    }
    remove_template(912);
}

TEST_F(DialogModal, APlacedDialogStaysOnTheScreen) {
    BuildDialog far = dialog_105();
    far.x = 20000;
    far.y = 20000;
    std::vector<unsigned char> bytes = build_template(far);
    add_template(913, bytes.data(), bytes.size());
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 913));
    schedule({[&] {
        QWidget* w = dialog_widget(d);
        QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(area.contains(QRect(w->pos(), w->size())))
            << w->pos().x() << "," << w->pos().y();
        send_key(w, Qt::Key_Escape);
    }});
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 2);
    remove_template(913);
}

TEST_F(DialogModal, TabMovesThroughTheControlsInTemplateOrder) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 105));
    schedule({[&] {
        QWidget* w = dialog_widget(d);
        EXPECT_EQ(w->focusWidget(), dialog_control_widget(d, 1));
        send_key(w->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(w->focusWidget(), dialog_control_widget(d, 2));
        send_key(w->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(w->focusWidget(), dialog_control_widget(d, 1032));
        send_key(w->focusWidget(), Qt::Key_Escape);
    }});
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 2);
}

namespace {
int scroll_calls = 0;
void on_scroll(Dialog&, int32_t&, int32_t& event) {
    ++scroll_calls;
    EXPECT_EQ(event, sel_change);
}
} // namespace

TEST_F(DialogModal, ScrollBarRequestsMoveByTheStepsWithinTheRange) {
    BuildDialog b;
    b.items = {{kChild, 0x84, 5, "", 0, 0, 100, 10}, {kPush, 0x80, 2, "Cancel", 0, 20, 50, 14}};
    std::vector<unsigned char> bytes = build_template(b);
    add_template(911, bytes.data(), bytes.size());
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 911));
    ASSERT_TRUE(dlg_set(d, 5, int32_t{20}, sel_range));
    ASSERT_TRUE(dlg_set_callback(d, 5, on_scroll));
    scroll_calls = 0;
    schedule({[&] {
        auto* bar = qobject_cast<QScrollBar*>(dialog_control_widget(d, 5));
        ASSERT_NE(bar, nullptr);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); // 0 + 1
        EXPECT_EQ(bar->value(), 1);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // 1 + 10
        EXPECT_EQ(bar->value(), 11);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // past the range: 20
        EXPECT_EQ(bar->value(), 20);
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        EXPECT_EQ(bar->value(), 1);
        EXPECT_EQ(scroll_calls, 4);
        send_key(dialog_widget(d), Qt::Key_Escape);
    }});
    watchdog(d);
    EXPECT_EQ(dlg_modal(d), 2);
    int32_t pos = 0;
    ASSERT_TRUE(dlg_get(d, 5, pos, sel_position));
    EXPECT_EQ(pos, 1);
    remove_template(911);
}

// With HYSTERESIS_DIALOG_SHOTS set to a folder, saves a picture of each dialog there, filled as
// the program fills it.
namespace {

// What the dialog callback of a template with a shared id saw while the dialog was shown.
struct SharedIdSeen {
    bool any_operation_succeeded = false; // a value or callback operation on the shared id
    std::vector<QString> titles;          // texts the window's controls show
};
SharedIdSeen shared_seen;

void on_shared_id_shown(Dialog& d, int32_t&, int32_t&) {
    char buf[8];
    bool flag = false;
    int32_t n = 0;
    bool any =
        dlg_set(d, 7, "x", 1) || dlg_set(d, 7, true) || dlg_set(d, 7, int32_t{3}, sel_position);
    any = any || dlg_get(d, 7, buf, 8) || dlg_get(d, 7, flag) || dlg_get(d, 7, n, sel_position);
    shared_seen.any_operation_succeeded = any;
    for (QWidget* w : dialog_widget(d)->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w)) shared_seen.titles.push_back(label->text());
        if (auto* box = qobject_cast<QGroupBox*>(w)) shared_seen.titles.push_back(box->title());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            shared_seen.titles.push_back(button->text());
        if (auto* edit = qobject_cast<QLineEdit*>(w)) shared_seen.titles.push_back(edit->text());
    }
    dlg_exit(d);
}

} // namespace

// Two controls on one id, for every pair of kinds: the dialog is shown and ended without a
// crash, every operation on the id answers false, and each control keeps its own text.
TEST_F(DialogModal, ControlsSharingAnIdAreShownSafelyAndAnswerFalse) {
    struct Kind {
        uint32_t style;
        uint16_t atom;
        bool shows_title; // the template's title is visible in the control
    };
    const Kind kinds[] = {
        {kLeft, 0x82, true},         {kGroup, 0x80, true},  {kPush, 0x80, true},
        {kCheck, 0x80, true},        {kRadio, 0x80, true},  {kEdit, 0x81, true},
        {kChild, 0x84, false},       {kChild, 0x83, false}, {kChild | 0x2, 0x85, true},
        {kChild | 0x3, 0x85, false},
    };
    for (const Kind& a : kinds)
        for (const Kind& b : kinds) {
            BuildDialog bd;
            bd.cx = 200;
            bd.cy = 80;
            bd.items = {{a.style, a.atom, 7, "first", 5, 5, 80, 12},
                        {b.style, b.atom, 7, "second", 5, 30, 80, 12}};
            std::vector<unsigned char> bytes = build_template(bd);
            add_template(931, bytes.data(), bytes.size());
            Dialog d;
            ASSERT_TRUE(dlg_init(d, 931));
            ASSERT_TRUE(dlg_set_callback(d, 931, on_shared_id_shown));
            shared_seen = SharedIdSeen{};
            watchdog(d);
            EXPECT_EQ(dlg_modal(d), 1);
            const std::string pair = std::to_string(a.atom) + "/" + std::to_string(a.style & 0xF) +
                                     " with " + std::to_string(b.atom) + "/" +
                                     std::to_string(b.style & 0xF);
            EXPECT_FALSE(shared_seen.any_operation_succeeded) << pair;
            const auto& t = shared_seen.titles;
            EXPECT_EQ(std::count(t.begin(), t.end(), QStringLiteral("first")),
                      a.shows_title ? 1 : 0)
                << pair;
            EXPECT_EQ(std::count(t.begin(), t.end(), QStringLiteral("second")),
                      b.shows_title ? 1 : 0)
                << pair;
            char buf[8];
            EXPECT_FALSE(dlg_get(d, 7, buf, 8)) << pair;
            dlg_uninit(d);
        }
    remove_template(931);
}

TEST_F(DialogModal, Screenshots) {
    QByteArray folder = qgetenv("HYSTERESIS_DIALOG_SHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "HYSTERESIS_DIALOG_SHOTS not set";
    QDir().mkpath(QString::fromLocal8Bit(folder));
    // The widest texts the program puts there: 14-character numbers and the longest messages.
    const std::vector<std::pair<int32_t, std::string>> fills[] = {
        {{1032, "0.4000000"}, {1033, "Error: Invalid format of Hc"}},
        {{1000, "-0.1234567E-01"},
         {1010, "-0.7654321E-01"},
         {1002, "-0.1234567E-01"},
         {1006, "0"},
         {1008, "Error: Invalid number of cycles"}},
        {{1011, "0.1234567E-01"}, {1013, "0.7654321E-01"}, {1017, "Error: Invalid format of Amem"}},
        {{1022, "0.1234567E-01"},
         {1021, "-0.1234567E-01"},
         {1027, "0.1234567E-01"},
         {1026, "-0.1234567E-01"},
         {1028, "Error: Invalid format of Bmax"}},
    };
    const int ids[] = {105, 101, 102, 103};
    for (int k = 0; k < 4; ++k) {
        Dialog d;
        ASSERT_TRUE(dlg_init(d, ids[k]));
        for (const auto& [id, text] : fills[k])
            set_text(d, id, text);
        if (ids[k] == 101)
            for (int id : {1005, 1006, 1007})
                dlg_set(d, id, false);
        QString path =
            QString::fromLocal8Bit(folder) + QStringLiteral("/dialog_%1.png").arg(ids[k]);
        schedule({[&d, path] {
            QWidget* w = dialog_widget(d);
            EXPECT_TRUE(w->grab().save(path));
            send_key(w, Qt::Key_Escape);
        }});
        watchdog(d);
        EXPECT_EQ(dlg_modal(d), 2);
    }
}
