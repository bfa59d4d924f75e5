// The toolkit part of the dialog layer: a modal QDialog built from a dialog template, whose
// controls report their notifications to the dialog procedure. Interface thread only.
#include "dialogm/dialog_template.h"
#include "dialogm/dialog_widget.h"
#include "dialogm/dialog_window.h"
#include "dialogm/template_store.h"

#include "window/kernel/frame.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr uint32_t ws_caption = 0x00C00000;
constexpr uint32_t ws_sysmenu = 0x00080000;
constexpr uint32_t ss_type_mask = 0x1F;
constexpr uint32_t ss_sunken = 0x1000;
constexpr uint32_t es_center = 0x1;
constexpr uint32_t es_right = 0x2;
constexpr uint32_t es_password = 0x20;
constexpr uint32_t es_readonly = 0x800;
constexpr int32_t notify_clicked = 0;         // button clicked
constexpr int32_t notify_edit_change = 0x300; // edit text changed (shown)
constexpr int32_t notify_edit_update = 0x400; // edit text about to be shown

// One created control of the window.
struct WindowItem {
    uint16_t id;     // control id
    uint16_t atom;   // class atom
    uint32_t style;  // template style
    QWidget* widget; // the Qt control
    QRect rect;      // the template's rectangle in pixels
};

// Rounded a * b / c, as the dialog unit conversion wants.
int mul_div(int a, int b, int c) {
    long long p = static_cast<long long>(a) * b;
    return static_cast<int>(p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c));
}

std::string blank_padded(const QString& text) {
    QByteArray bytes = text.left(kDialogTextLength - 1).toLatin1();
    std::string s(kDialogTextLength, ' ');
    std::copy(bytes.begin(), bytes.end(), s.begin());
    return s;
}

// A record text as the window shows it: up to the first zero, without trailing blanks.
QString shown_text(const std::string& text) {
    size_t end = std::min(text.find('\0'), text.size());
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(end));
}

class TemplateDialog : public QDialog {
  public:
    TemplateDialog(Dialog& dialog, const DialogTemplate& tmpl, QWidget* parent)
        : QDialog(parent), dialog_(dialog) {
        Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
        if ((tmpl.style & ws_caption) == ws_caption) flags |= Qt::WindowTitleHint;
        if (tmpl.style & ws_sysmenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        setWindowFlags(flags);
        setWindowTitle(
            QString::fromLatin1(tmpl.title.data(), static_cast<qsizetype>(tmpl.title.size())));
        if (tmpl.style & tmpl_ds_setfont) {
            QFont font(QString::fromLatin1(tmpl.face_name.c_str()));
            font.setPointSize(std::max<int>(1, tmpl.point_size));
            setFont(font);
        }
        // Dialog base units of the dialog font: average character width and height.
        QFontMetrics fm(font());
        int alphabet = fm.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        base_x_ = (alphabet / 26 + 1) / 2;
        base_y_ = fm.height();
        setFixedSize(to_px_x(tmpl.cx), to_px_y(tmpl.cy));
        QWidget* previous = nullptr;
        for (const TemplateItem& it : tmpl.items) {
            QWidget* w = create_item(it);
            if (!w) continue;
            QRect rect(to_px_x(it.x), to_px_y(it.y), to_px_x(it.cx), to_px_y(it.cy));
            w->setGeometry(rect);
            if (it.style & tmpl_ws_disabled) w->setEnabled(false);
            if (!(it.style & tmpl_ws_visible)) w->setVisible(false);
            if (w->focusPolicy() != Qt::NoFocus) {
                w->setFocusPolicy((it.style & tmpl_ws_tabstop) ? Qt::StrongFocus : Qt::ClickFocus);
                if (previous) setTabOrder(previous, w);
                previous = w;
            }
            items_.push_back({it.id, it.class_atom, it.style, w, rect});
        }
        pair_records();
        // Statics are fitted once every neighbour is known.
        for (const WindowItem& it : items_)
            fit_static(it);
        // A template that gives a position places the dialog relative to its owner's client
        // area; one at 0, 0 is centred on the owner (the toolkit's own placement).
        if (tmpl.x != 0 || tmpl.y != 0) {
            QPoint origin;
            if (parent)
                origin = parent->mapToGlobal(QPoint(0, 0));
            else if (QScreen* screen = QGuiApplication::primaryScreen())
                origin = screen->availableGeometry().topLeft();
            move(on_screen(origin + QPoint(to_px_x(tmpl.x), to_px_y(tmpl.y))));
        }
    }

    // A left-aligned static with room for one line only shows its text on that line: where this
    // platform's font is wider than the templates were laid out for, it grows to the right instead
    // of wrapping its last words out of sight, but never over the control beside it, out of the
    // group box around it or past the dialog's edge.
    void fit_static(const WindowItem& item) const {
        auto* label = qobject_cast<QLabel*>(item.widget);
        if (!label || (item.style & ss_type_mask) != 0) return;
        const QRect& rect = item.rect;
        QFontMetrics fm(label->font());
        int border = 2 * label->frameWidth();
        if (rect.height() >= 2 * fm.height() + border) {
            label->setWordWrap(true);
            label->setGeometry(rect);
            return;
        }
        int need = fm.horizontalAdvance(label->text()) + border + 1;
        if (label->frameWidth() > 0)
            need += (fm.horizontalAdvance(QLatin1Char('x')) + 1) / 2; // indent
        int room = growth_limit(item) - rect.x();
        int width = std::max(rect.width(), std::min(need, room));
        label->setWordWrap(false);
        label->setGeometry(rect.x(), rect.y(), width, rect.height());
    }

    // The first control with this id, or null.
    const WindowItem* item(int32_t id) const {
        for (const WindowItem& it : items_)
            if (it.id == id) return &it;
        return nullptr;
    }

    // The window control of a record, or null. Records are matched to controls by position, not
    // by id, so two controls that share an id each keep their own widget.
    const WindowItem* item_of(const DialogControl& c) const {
        const DialogControl* first = dialog_.controls.data();
        if (&c < first || &c >= first + dialog_.controls.size()) return nullptr;
        const size_t k = static_cast<size_t>(&c - first);
        return k < paired_.size() && paired_[k] ? &items_[k] : nullptr;
    }

    // Gives the focus to the first enabled, visible control that Tab reaches.
    void focus_first() {
        for (const WindowItem& it : items_)
            if (it.widget->focusPolicy() == Qt::StrongFocus && it.widget->isEnabled() &&
                !it.widget->isHidden()) {
                it.widget->setFocus(Qt::OtherFocusReason);
                return;
            }
    }

    void end() { QDialog::done(0); }

    // Ends the modal loop only through end(): every other way to leave is a command.
    void done(int) override { command(2, notify_clicked); }
    void accept() override { command(1, notify_clicked); }
    void reject() override { command(2, notify_clicked); }

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        bool plain = e->modifiers() == Qt::NoModifier ||
                     (e->modifiers() == Qt::KeypadModifier && e->key() == Qt::Key_Enter);
        if (plain && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
            // A push button that has the focus is the default while it has it, so Enter presses
            // the button the user tabbed to; otherwise only the template's default push button
            // answers Enter, and without one Enter is a command for id 1, which a dialog without
            // such a control ignores.
            for (const WindowItem& it : items_)
                if (it.widget == focusWidget() && qobject_cast<QPushButton*>(it.widget)) {
                    if (it.widget->isEnabled()) static_cast<QPushButton*>(it.widget)->click();
                    return;
                }
            for (const WindowItem& it : items_)
                if (it.atom == atom_button && (it.style & 0xF) == 1 && !it.widget->isHidden()) {
                    if (it.widget->isEnabled()) static_cast<QPushButton*>(it.widget)->click();
                    return;
                }
            command(1, notify_clicked);
            return;
        }
        if (plain && e->key() == Qt::Key_Escape) {
            command(2, notify_clicked);
            return;
        }
        QDialog::keyPressEvent(e);
    }

    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        command(2, notify_clicked);
    }

  private:
    int to_px_x(int du) const { return mul_div(du, base_x_, 4); }

    // First x a static may not cover when it grows: the dialog's edge, the left edge of the
    // nearest control that starts right of it on the same lines, or the inner edge of a group
    // box that encloses it.
    int growth_limit(const WindowItem& self) const {
        const QRect& r = self.rect;
        int limit = width();
        for (const WindowItem& other : items_) {
            const QRect& q = other.rect;
            if (&other == &self || q.bottom() < r.top() || q.top() > r.bottom()) continue;
            bool group = other.atom == atom_button && (other.style & 0xF) == 7;
            if (group && q.left() < r.left() && q.right() >= r.right())
                limit = std::min(limit, q.right() + 1 - to_px_x(2));
            else if (q.left() > r.right())
                limit = std::min(limit, q.left());
        }
        return limit;
    }

    // A placed dialog is moved, if need be, so that it lies wholly on the screen it starts on.
    QPoint on_screen(QPoint at) const {
        QScreen* screen = QGuiApplication::screenAt(at);
        if (!screen) screen = QGuiApplication::primaryScreen();
        if (!screen) return at;
        QRect area = screen->availableGeometry();
        at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - width())));
        at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - height())));
        return at;
    }
    int to_px_y(int du) const { return mul_div(du, base_y_, 8); }

    void command(int32_t id, int32_t code) { dialog_on_command(dialog_, id, code); }

    // A notification from the control created as item index: it goes to that item's own record.
    void control_command(size_t index, int32_t code) {
        if (index < paired_.size() && paired_[index])
            dialog_on_control_command(dialog_, static_cast<int>(index), code);
        else
            command(items_[index].id, code);
    }

    // Records and window items both follow the template order and skip the same classes, so
    // the k-th record belongs to the k-th item; a pair whose ids differ is left unpaired.
    void pair_records() {
        paired_.assign(items_.size(), false);
        for (size_t k = 0; k < items_.size() && k < dialog_.controls.size(); ++k)
            paired_[k] = dialog_.controls[k].id == items_[k].id;
    }

    // The record index of a window control, or -1 when it has no record of its own.
    int index_of(const QWidget* w) const {
        for (size_t k = 0; k < items_.size(); ++k)
            if (items_[k].widget == w) return k < paired_.size() && paired_[k] ? int(k) : -1;
        return -1;
    }

    void scroll(QScrollBar* bar, int action) {
        int32_t request;
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            request = scroll_line_up;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            request = scroll_line_down;
            break;
        case QAbstractSlider::SliderPageStepSub:
            request = scroll_page_up;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            request = scroll_page_down;
            break;
        case QAbstractSlider::SliderToMinimum:
            request = scroll_top;
            break;
        case QAbstractSlider::SliderToMaximum:
            request = scroll_bottom;
            break;
        case QAbstractSlider::SliderMove:
            request = scroll_thumb_track;
            break;
        default:
            return;
        }
        // The bar has already moved itself; the procedure decides the position and writes it.
        int proposed = bar->sliderPosition();
        int index = index_of(bar);
        if (index < 0 || dialog_.controls[static_cast<size_t>(index)].kind != kKindScrollBar)
            return;
        bar->setSliderPosition(dialog_.controls[static_cast<size_t>(index)].ints[0]);
        dialog_on_control_scroll(dialog_, index, request, proposed);
        bar->setSliderPosition(dialog_.controls[static_cast<size_t>(index)].ints[0]);
    }

    QWidget* create_item(const TemplateItem& it) {
        // The position this control takes among the created ones.
        const size_t index = items_.size();
        QString title =
            QString::fromLatin1(it.title.data(), static_cast<qsizetype>(it.title.size()));
        switch (it.class_atom) {
        case atom_static: {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);
            label->setText(title);
            uint32_t type = it.style & ss_type_mask;
            Qt::Alignment h = type == 1   ? Qt::AlignHCenter
                              : type == 2 ? Qt::AlignRight
                                          : Qt::AlignLeft;
            label->setAlignment(h | Qt::AlignTop);
            label->setWordWrap(type <= 2);
            if (it.style & ss_sunken) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setFocusPolicy(Qt::NoFocus);
            return label;
        }
        case atom_button: {
            uint32_t type = it.style & 0xF;
            if (type == 7) {
                auto* box = new QGroupBox(title, this);
                box->setFocusPolicy(Qt::NoFocus);
                box->lower();
                return box;
            }
            QAbstractButton* button;
            if (type == 3 || type == 2) {
                button = new QCheckBox(title, this);
            } else if (type == 4 || type == 5 || type == 6 || type == 9) {
                auto* radio = new QRadioButton(title, this);
                radio->setAutoExclusive(false); // groups follow the template, not the parent
                button = radio;
            } else {
                auto* push = new QPushButton(title, this);
                push->setAutoDefault(false);
                push->setDefault(type == 1);
                button = push;
            }
            uint32_t style = it.style;
            QObject::connect(button, &QAbstractButton::clicked, this, [this, index, style, button] {
                if ((style & 0xF) == 9) check_in_group(button);
                if ((style & 0xF) == 4 || (style & 0xF) == 5)
                    button->setChecked(!button->isChecked()); // only the program checks these
                control_command(index, notify_clicked);
            });
            return button;
        }
        case atom_edit: {
            auto* edit = new QLineEdit(title, this);
            edit->setFrame((it.style & tmpl_ws_border) != 0);
            edit->setMaxLength(kDialogTextLength - 1);
            if (it.style & es_readonly) edit->setReadOnly(true);
            if (it.style & es_password) edit->setEchoMode(QLineEdit::Password);
            uint32_t align = it.style & 3;
            edit->setAlignment((align == es_center  ? Qt::AlignHCenter
                                : align == es_right ? Qt::AlignRight
                                                    : Qt::AlignLeft) |
                               Qt::AlignVCenter);
            QObject::connect(edit, &QLineEdit::textChanged, this, [this, index] {
                control_command(index, notify_edit_update);
                control_command(index, notify_edit_change);
            });
            return edit;
        }
        case atom_list_box: {
            auto* list = new QListWidget(this);
            QObject::connect(list, &QListWidget::currentRowChanged, this,
                             [this, index] { control_command(index, 1); });
            QObject::connect(list, &QListWidget::itemDoubleClicked, this,
                             [this, index] { control_command(index, 2); });
            return list;
        }
        case atom_scroll_bar: {
            auto* bar = new QScrollBar((it.style & 1) ? Qt::Vertical : Qt::Horizontal, this);
            QObject::connect(bar, &QAbstractSlider::actionTriggered, this,
                             [this, bar](int action) { scroll(bar, action); });
            return bar;
        }
        case atom_combo_box: {
            auto* combo = new QComboBox(this);
            combo->setEditable((it.style & 3) != 3);
            if (combo->isEditable()) {
                combo->setEditText(title);
                QObject::connect(combo, &QComboBox::editTextChanged, this, [this, index] {
                    control_command(index, 6);
                    control_command(index, 5);
                });
            }
            QObject::connect(combo, qOverload<int>(&QComboBox::activated), this,
                             [this, index] { control_command(index, 1); });
            return combo;
        }
        default:
            return nullptr; // a class this layer does not know is not created
        }
    }

    // An automatic radio button that was clicked is checked and every other automatic radio
    // button of its group (the run of items up to the next that begins a group) unchecked.
    void check_in_group(QAbstractButton* button) {
        size_t at = 0;
        while (at < items_.size() && items_[at].widget != button)
            ++at;
        if (at == items_.size()) return;
        size_t first = at, last = at;
        while (first > 0 && !(items_[first].style & tmpl_ws_group))
            --first;
        while (last + 1 < items_.size() && !(items_[last + 1].style & tmpl_ws_group))
            ++last;
        button->setChecked(true);
        for (size_t k = first; k <= last; ++k)
            if (k != at && items_[k].atom == atom_button && (items_[k].style & 0xF) == 9)
                static_cast<QAbstractButton*>(items_[k].widget)->setChecked(false);
    }

    Dialog& dialog_;                // the records this window shows
    std::vector<WindowItem> items_; // created controls in template order
    std::vector<bool> paired_;      // per item: the record of the same index is this item's
    int base_x_ = 1, base_y_ = 1;   // dialog base units in pixels
};

TemplateDialog* window_of(Dialog& dialog) {
    return static_cast<TemplateDialog*>(dialog.window);
}

} // namespace

bool window_run_modal(Dialog& dialog, void* owner) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    std::vector<unsigned char> bytes;
    DialogTemplate tmpl;
    if (!find_template(dialog.template_id, bytes) ||
        !parse_dialog_template(bytes.data(), bytes.size(), tmpl))
        return false;
    QWidget* parent = static_cast<TemplateDialog*>(owner);
    if (!parent) parent = dialog_owner();
    if (!parent) parent = QApplication::activeWindow();
    // Guarded: the window dies with its parent if that is destroyed while it runs.
    QPointer<TemplateDialog> window = new TemplateDialog(dialog, tmpl, parent);
    window->setModal(true);
    dialog_on_init(dialog, window.data());
    if (window && dialog.window == window.data()) {
        window->focus_first();
        window->exec();
    }
    if (!window) {
        dialog.window = nullptr; // gone with its parent: nothing left to read
        return true;
    }
    // Ended some other way than through the layer (the application is closing): keep what the
    // window showed.
    if (dialog.window == window.data()) {
        for (DialogControl& c : dialog.controls)
            if (!c.dirty) window_read_control(dialog, c);
        dialog.window = nullptr;
    }
    delete window.data();
    return true;
}

void window_write_control(Dialog& dialog, const DialogControl& c) {
    TemplateDialog* window = window_of(dialog);
    const WindowItem* it = window ? window->item_of(c) : nullptr;
    if (!it) return;
    QWidget* w = it->widget;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!c.texts.empty()) label->setText(shown_text(c.texts[0]));
        window->fit_static(*it);
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
        if (!c.texts.empty()) box->setTitle(shown_text(c.texts[0]));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (!c.texts.empty()) button->setText(shown_text(c.texts[0]));
        if ((c.kind == kKindCheckBox || c.kind == kKindRadioButton) && c.logicals.size() > 1)
            button->setChecked(c.logicals[1]);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QString text = shown_text(c.texts.empty() ? std::string() : c.texts[0]);
        if (edit->text() != text) edit->setText(text); // same text: keep the caret where it is
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->clear();
        for (size_t k = 1; k < c.texts.size(); ++k)
            list->addItem(shown_text(c.texts[k]));
        if (!c.ints.empty()) list->setCurrentRow(c.ints[0] - 1);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->clear();
        for (size_t k = 1; k < c.texts.size(); ++k)
            combo->addItem(shown_text(c.texts[k]));
        if (!c.ints.empty()) combo->setCurrentIndex(c.ints[0] - 1);
        if (combo->isEditable() && !c.texts.empty()) combo->setEditText(shown_text(c.texts[0]));
    } else if (auto* bar = qobject_cast<QScrollBar*>(w); bar && c.ints.size() >= 4) {
        bar->setRange(1, std::max(1, c.ints[1]));
        bar->setSingleStep(c.ints[2]);
        bar->setPageStep(c.ints[3]);
        bar->setValue(c.ints[0]);
    }
    if (!c.logicals.empty()) w->setEnabled(c.logicals[0]);
}

void window_read_control(Dialog& dialog, DialogControl& c) {
    TemplateDialog* window = window_of(dialog);
    const WindowItem* it = window ? window->item_of(c) : nullptr;
    if (!it) return;
    QWidget* w = it->widget;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!c.texts.empty()) c.texts[0] = blank_padded(label->text());
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
        if (!c.texts.empty()) c.texts[0] = blank_padded(box->title());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (!c.texts.empty()) c.texts[0] = blank_padded(button->text());
        if ((c.kind == kKindCheckBox || c.kind == kKindRadioButton) && c.logicals.size() > 1)
            c.logicals[1] = button->isChecked();
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (!c.texts.empty()) c.texts[0] = blank_padded(edit->text());
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        c.texts.resize(1);
        for (int k = 0; k < list->count(); ++k)
            c.texts.push_back(blank_padded(list->item(k)->text()));
        QListWidgetItem* current = list->currentItem();
        c.texts[0] = blank_padded(current ? current->text() : QString());
        c.ints[0] = list->currentRow() + 1;
        if (c.ints.size() > 1) c.ints[1] = list->count();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        c.texts.resize(1);
        for (int k = 0; k < combo->count(); ++k)
            c.texts.push_back(blank_padded(combo->itemText(k)));
        c.texts[0] = blank_padded(combo->currentText());
        c.ints[0] = combo->currentIndex() + 1;
        if (c.ints.size() > 1) c.ints[1] = combo->count();
    } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
        c.ints[0] = bar->value();
    }
    if (!c.logicals.empty()) c.logicals[0] = !w->testAttribute(Qt::WA_Disabled);
}

void window_end(Dialog& dialog) {
    if (TemplateDialog* window = window_of(dialog)) window->end();
}

QWidget* dialog_widget(const Dialog& dialog) {
    return static_cast<TemplateDialog*>(dialog.window);
}

QWidget* dialog_control_widget(const Dialog& dialog, int32_t id) {
    auto* window = static_cast<TemplateDialog*>(dialog.window);
    const WindowItem* it = window ? window->item(id) : nullptr;
    return it ? it->widget : nullptr;
}
