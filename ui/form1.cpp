#include "ui/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/field_read.h"
#include "form/layout.h"
#include "form/runner.h"
#include "form/texts.h"
#include "office/export_fault.h"
#include "report/compose.h"
#include "ui/application.h"
#include "ui/busynote.h"
#include "ui/fonts.h"
#include "ui/messagebox.h"
#include "ui/picturebox.h"
#include "ui/reportbox.h"
#include "ui/reviewwindow.h"

namespace wallcalc::ui {
namespace {

using form::pixels;

// Positions are given in twips, 15 to a device-independent pixel; Qt scales the pixels for
// high-density screens.
QRect twips(const form::Twips& box) {
    const int x = pixels(box.left), y = pixels(box.top);
    return QRect(x, y, pixels(box.left + box.width) - x, pixels(box.top + box.height) - y);
}

// A line edit takes whatever is typed or pasted; the readings judge it, not a length limit.
constexpr int kNoLengthLimit = std::numeric_limits<int>::max();

QColor colour(const form::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

void paint(QWidget* widget, form::Paper paper, form::Ink ink) {
    // From the system's colours each time, so that a look taken back leaves nothing behind.
    QPalette palette = QApplication::palette(widget);
    std::optional<QColor> text;
    if (auto rgb = form::inkRgb(ink)) text = colour(*rgb);
    // The system's window-background colour used as text colour: white by default.
    if (ink == form::Ink::WindowBackground) text = palette.color(QPalette::Base);
    if (auto rgb = form::paperRgb(paper)) palette.setColor(QPalette::Base, colour(*rgb));
    if (text) palette.setColor(QPalette::Text, *text);
    widget->setPalette(palette);
}

}  // namespace

Form1::Form1(std::unique_ptr<ReportExporter> exporter, QWidget* parent)
    : QWidget(parent), exporter_(std::move(exporter)) {
    initResources();
    setObjectName(QStringLiteral("Form1"));
    // The application's icon, where it has one, is the window's too: decoded once, not twice.
    if (QGuiApplication::windowIcon().isNull()) setWindowIcon(programIcon());
    // The controls stand in a client area below the menu bar, at their places within it.
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    buildWindow();
    buildMenu();
    observer_ = document_.observe([this](form::WallDocument::Change change) { follow(change); });
    paintFields();  // the placeholders are no results
    // What the engineer types goes to the document.
    for (Field field : allFields()) {
        QWidget* widget = fieldWidget(field);
        auto typed = [this, field] { document_.setText(field, widgetText(field)); };
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            connect(edit, &QLineEdit::textChanged, this, typed);
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            connect(combo, &QComboBox::editTextChanged, this, typed);
        else if (auto* box = qobject_cast<ReportBox*>(widget))
            connect(box, &QPlainTextEdit::textChanged, this, typed);
    }
    setWindowTitle(QString::fromStdString(document_.title()));
    // The initial client area, smaller than the layout: the report box and its two buttons
    // come into view when the window is enlarged. Nothing follows the window's size. The
    // window is taller by the menu bar.
    resize(pixels(form::kClientWidth), pixels(form::kClientHeight) + menuBarHeight());
}

Form1::~Form1() {
    // The review window and the controls outlive the document in the teardown of the widgets:
    // they must no longer reach it.
    delete findChild<ReviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* widget : fields_) widget->disconnect(this);
    document_.forget(observer_);
}

void Form1::buildWindow() {
    using form::Look;
    std::vector<QWidget*> containers(form::kContainerCount, nullptr);
    containers[form::kOnWindow] = client_;
    for (const form::FrameSpec& spec : form::frames()) {
        auto* frame = new QGroupBox(QString::fromUtf8(spec.caption), client_);
        frame->setObjectName(QStringLiteral("Frame%1").arg(spec.number));
        frame->setGeometry(twips(spec.box));
        containers[spec.number] = frame;
    }

    for (const form::LabelSpec& spec : form::labels()) {
        auto* label = new QLabel(QString::fromUtf8(spec.caption), containers[spec.container]);
        label->setObjectName(QString::fromUtf8(spec.name));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        switch (spec.look) {
            case Look::Plain: break;
            case Look::Raised: label->setFont(layoutFont(form::kRaisedFont)); break;
            case Look::Banner: {
                label->setFont(layoutFont(form::kBannerFont));
                QPalette palette = label->palette();
                palette.setColor(QPalette::WindowText, colour(form::kBannerInk));
                label->setPalette(palette);
                break;
            }
            case Look::Note: label->setWordWrap(true); break;
        }
        QRect box = twips(spec.box);
        // A one-line caption is never cut off: where the face runs wider or taller than the
        // box, the box grows to the right and downwards from its place.
        if (spec.look != Look::Note) box.setSize(box.size().expandedTo(label->sizeHint()));
        label->setGeometry(box);
    }

    std::vector<std::pair<int, QWidget*>> tabStops;

    auto* picture = new PictureBox(client_);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setGeometry(twips(form::kPicture));
    picture->setPicture(diagramPicture());
    tabStops.emplace_back(form::kPictureTabIndex, picture);

    for (const form::FieldSpec& spec : form::fieldSpecs()) {
        QWidget* parent = containers[spec.container];
        QWidget* widget = nullptr;
        if (spec.field == Field::Combo1) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            // A fixed list: typing neither adds items nor completes them.
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            for (const char* item : form::kComboItems) combo->addItem(QString::fromUtf8(item));
            for (int i = 0; i < combo->count(); ++i) combo->setItemData(i, 0);
            // The initial text matches no item.
            combo->setCurrentIndex(-1);
            combo->lineEdit()->setMaxLength(kNoLengthLimit);
            widget = combo;
        } else if (spec.field == Field::Text29) {
            auto* box = new ReportBox(parent);
            QFont font = defaultUiFont();
            QStringList families = faceFamilies(Face::Song);
            families.insert(families.indexOf(QStringLiteral("AR PL UMing CN")) + 1, QString::fromUtf8(kSymbolFamily));
            font.setFamilies(families);
            box->setFont(font);
            widget = box;
        } else {
            auto* edit = new QLineEdit(parent);
            edit->setMaxLength(kNoLengthLimit);
            if (spec.field == Field::Text18) edit->setFont(layoutFont(form::kVerdictFont));
            widget = edit;
        }
        widget->setObjectName(QString::fromUtf8(fieldName(spec.field)));
        widget->setGeometry(twips(spec.box));
        paint(widget, spec.paper, spec.ink);
        fields_[static_cast<int>(spec.field)] = widget;
        showText(spec.field, document_.text(spec.field));
        if (!form::isShown(spec.field))
            widget->hide();
        else
            tabStops.emplace_back(spec.tabIndex, widget);
    }

    for (const form::ButtonSpec& spec : form::buttons()) {
        auto* button = new QPushButton(QString::fromUtf8(spec.caption), client_);
        button->setObjectName(QString::fromUtf8(spec.name));
        button->setGeometry(twips(spec.box));
        connect(button, &QPushButton::clicked, this, [this, command = spec.command] { press(command); });
        tabStops.emplace_back(spec.tabIndex, button);
    }

    std::sort(tabStops.begin(), tabStops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i) setTabOrder(tabStops[i - 1].second, tabStops[i].second);

    // The focus starts on the picture.
    picture->setFocus(Qt::OtherFocusReason);
}

void Form1::press(form::Command command) {
    switch (command) {
        case form::Command::Strength: Command1_Click(); break;
        case form::Command::Crack: Command2_Click(); break;
        case form::Command::Export: Command3_Click(); break;
        case form::Command::Report: Command4_Click(); break;
        case form::Command::Review: Command5_Click(); break;
    }
}

std::string Form1::widgetText(Field field) const {
    QWidget* widget = fieldWidget(field);
    if (auto* box = qobject_cast<ReportBox*>(widget)) return box->fieldText();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText().toStdString();
    return static_cast<QLineEdit*>(widget)->text().toStdString();
}

void Form1::showText(Field field, const std::string& text) {
    QWidget* widget = fieldWidget(field);
    if (auto* box = qobject_cast<ReportBox*>(widget)) {
        box->setFieldText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setEditText(QString::fromStdString(text));
    } else {
        auto* edit = static_cast<QLineEdit*>(widget);
        edit->setText(QString::fromStdString(text));
        // Show the beginning of a text longer than the box.
        edit->setCursorPosition(0);
    }
}

void Form1::paintFields() {
    for (const form::FieldSpec& spec : form::fieldSpecs()) {
        const form::FieldLook look = form::fieldLook(spec, document_.fields().isCurrent(spec.field));
        paint(fieldWidget(spec.field), look.paper, look.ink);
    }
}

void Form1::follow(form::WallDocument::Change change) {
    using Change = form::WallDocument::Change;
    if (change == Change::Fields) {
        for (Field field : allFields())
            if (widgetText(field) != document_.text(field)) showText(field, document_.text(field));
        paintFields();
    }
    setWindowTitle(QString::fromStdString(document_.title()));
    if (change == Change::Options) emit reviewOptionsChanged();
}

bool Form1::run(const Action& action, Where where) {
    form::Runner::Outcome outcome;
    if (where == Where::OnThisThread) {
        outcome = runner_.run(action);
    } else {
        // 取消 closes the note at once and tells the exporter to stop: it kills its helper, and
        // the office too where the export started it, so the worker ends within moments.
        ReportExporter* exporter = exporter_.get();
        outcome = runner_.runOnWorker(
            action,
            [exporter] {
                if (exporter) exporter->cancel();
            },
            [this](form::Worker& worker) {
                BusyNote note(QString::fromUtf8(form::kProgramTitle), QString::fromUtf8(form::kExportNote), this);
                connect(&note, &BusyNote::cancelled, this, [&worker] { worker.cancel(); });
                // Posted to this thread: the note closes once its own event loop runs, however
                // soon the work ends.
                worker.start([&note] { QMetaObject::invokeMethod(&note, &BusyNote::finish, Qt::QueuedConnection); });
                note.exec();
                worker.wait();
            });
    }
    if (outcome.ending == form::Runner::Ending::Faulted) showFault(*outcome.fault);
    return outcome.completed();
}

void Form1::showFault(const Fault& fault) {
    const form::FaultNotice notice = form::faultNotice(fault);
    MessageBox::error(this, QString::fromUtf8(form::kProgramTitle), QString::fromStdString(notice.text));

    // The cursor goes to the field to mend, its text selected so that typing replaces it.
    if (!notice.focus) return;
    QWidget* widget = fieldWidget(*notice.focus);
    QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) edit = combo->lineEdit();
    widget->setFocus(Qt::OtherFocusReason);
    if (edit) edit->selectAll();
}

void Form1::Command1_Click() { run(strengthCalculation, Where::OnThisThread); }

void Form1::Command2_Click() { run(crackWidthCheck, Where::OnThisThread); }

void Form1::Command4_Click() { run(composeReport, Where::OnThisThread); }

// Only a report made from the inputs now shown, or typed by the engineer, goes out.
bool Form1::reportIsCurrent() {
    return run([](FieldSet& fields) { requireCurrent(fields, Field::Text29); }, Where::OnThisThread);
}

void Form1::Command3_Click() {
    if (reportIsCurrent()) exportDocument(fieldText(Field::Text29));
}

bool Form1::exportDocument(const std::string& text) { return exportBook(Book{{}, text}); }

bool Form1::exportBook(const Book& book) {
    ReportExporter* exporter = exporter_.get();
    // The word processor can take many seconds to answer; the window keeps painting meanwhile.
    return run(
        [exporter, book](FieldSet&) {
            if (!exporter) throw export_fault::cannotCreate("本程序没有配置文字处理软件的接口");
            if (book.json.empty())
                exporter->exportReport(book.plainText);
            else
                exporter->exportBook(book);
        },
        Where::OnWorkerThread);
}

void Form1::Command5_Click() {
    // One review window, made on the first press and shown again on every later one.
    auto* review = findChild<ReviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!review)
        review = new ReviewWindow(
            document_, [this](const Book& book) { return exportBook(book); }, this);
    review->show();
    review->raise();
    review->activateWindow();
}

}  // namespace wallcalc::ui
