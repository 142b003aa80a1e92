#include "ui/form1.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <exception>
#include <limits>
#include <utility>
#include <vector>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/field_read.h"
#include "report/compose.h"
#include "report/export/export_fault.h"
#include "ui/application.h"
#include "ui/busynote.h"
#include "ui/fonts.h"
#include "ui/messagebox.h"
#include "ui/picturebox.h"
#include "ui/reportbox.h"
#include "ui/reviewwindow.h"
#include "ui/texts.h"

namespace wallcalc::ui {
namespace {

// Positions are given in twips, 15 to a device-independent pixel; Qt scales the pixels for
// high-density screens. Edges are rounded, not sizes, so that boxes drawn edge to edge stay so.
int pixels(int twips) { return (twips * 2 + 15) / 30; }
QRect twips(int left, int top, int width, int height) {
    const int x = pixels(left), y = pixels(top);
    return QRect(x, y, pixels(left + width) - x, pixels(top + height) - y);
}

// The containers: the window itself, then Frame1 to Frame5.
constexpr int kOnWindow = 0;

struct FrameSpec {
    int number;
    const char* caption;
    int left, top, width, height;
};
constexpr FrameSpec kFrames[] = {
    {1, "土质条件", 240, 600, 2895, 2175},  {2, "条件输入", 240, 2880, 2895, 3495},
    {5, "荷载计算", 240, 6480, 9375, 615},  {3, "强度输出", 240, 7200, 7695, 975},
    {4, "裂缝计算", 240, 8280, 7695, 1335},
};

enum class Look {
    Plain,   // the default font, one line
    Raised,  // an exponent: 宋体 5.25 pt, top-aligned with its unit so that it stands raised
    Banner,  // red, 新宋体 15.75 pt bold
    Note,    // the default font, wrapping within its box
};

struct LabelSpec {
    const char* name;
    int container;
    const char* caption;
    int left, top, width, height;
    Look look = Look::Plain;
};

// Row labels are 255 twips high unless they say otherwise. The unit weights are in kN/m³.
constexpr LabelSpec kLabels[] = {
    {"Label47", kOnWindow, kBanner, 1920, 0, 5895, 375, Look::Banner},
    {"Label16", kOnWindow,
     "按单跨梁计算，考虑塑性内力重分布，支座弯距调幅系数取0.8。查静力计算手册，支座弯距系数为1/"
     "15、跨中弯距系数为0.0298。",
     3480, 5880, 6135, 495, Look::Note},

    {"Label1", 1, "容重按18kN/m", 840, 360, 1935, 255},
    {"Label2_0", 1, "3", 1920, 360, 255, 150, Look::Raised},
    {"Label3", 1, "内摩擦角取30", 840, 720, 1695, 375},
    // The degree sign: a letter o in the default font, in a box 120 twips above the row.
    {"Label4", 1, "o", 1920, 600, 255, 150},
    {"Label5", 1, "有效容重按11kN/m", 480, 1080, 1455, 375},
    {"Label6", 1, "3", 1920, 1080, 255, 255, Look::Raised},
    {"Label14", 1, "按静止土压力计算Ka=0.5", 480, 1440, 2055, 255},
    {"Label15", 1, "分项系数:堆载取1.4;其余取1.2", 240, 1800, 2535, 375},

    {"Label7", 2, "地面堆载q=", 120, 360, 975, 255},
    {"Label8", 2, "kN/m", 1680, 360, 495, 255},
    {"Label9", 2, "2", 2040, 360, 255, 135, Look::Raised},
    {"Label10", 2, "设防水位高h1=", 120, 840, 1215, 255},
    {"Label11", 2, "m", 1920, 840, 375, 255},
    {"Label12", 2, "底板埋深h=", 120, 1320, 1095, 255},
    {"Label13", 2, "m", 1680, 1320, 255, 255},
    {"Label17", 2, "墙厚=", 120, 1800, 495, 255},
    {"Label18", 2, "mm,外侧保护层厚50mm", 1200, 1800, 1695, 375},
    {"Label29", 2, "地下室高度=", 120, 2280, 1215, 255},
    {"Label30", 2, "mm", 1800, 2280, 375, 255},
    {"Label31", 2, "混凝土强度等级为C", 120, 2760, 1575, 255},
    {"Label32", 2, "C25~C40", 2160, 2760, 735, 255},
    {"Label37", 2, "钢筋抗拉强度fy=", 120, 3120, 1455, 255},

    {"Label49", 5, "KaP=", 120, 240, 1095, 255},
    {"Label50", 5, "kN；", 1320, 240, 255, 255},
    {"Label51", 5, "Kaγ`h1=", 1680, 240, 735, 255},
    {"Label52", 5, "kN；", 3240, 240, 255, 255},
    {"Label53", 5, "Kaγ`h2=", 3600, 240, 735, 255},
    {"Label54", 5, "kN；", 5280, 240, 255, 255},
    {"Label55", 5, "γwh2=", 5640, 240, 735, 255},
    {"Label56", 5, "kN；", 6960, 240, 255, 255},
    {"Label57", 5, "荷载组合Q=", 7320, 240, 975, 255},
    {"Label58", 5, "kN", 9120, 240, 255, 255},

    {"Label19", 3, "支座弯距为", 120, 240, 975, 255},
    {"Label20", 3, "kN.m", 1920, 240, 495, 255},
    {"Label33", 3, "受压区高度x=", 2520, 240, 1455, 255},
    {"Label34", 3, "mm", 4320, 240, 375, 255},
    {"Label23_0", 3, "计算钢筋面积=", 4680, 240, 1335, 255},
    {"Label24", 3, "mm", 6840, 240, 375, 255},
    {"Label25", 3, "2", 7080, 240, 135, 135, Look::Raised},
    {"Label21", 3, "跨中弯距为", 120, 600, 1095, 255},
    {"Label22", 3, "kN.m", 1920, 600, 495, 255},
    {"Label35", 3, "受压区高度x=", 2520, 600, 1215, 255},
    {"Label36", 3, "mm", 4320, 600, 255, 255},
    {"Label26", 3, "计算钢筋面积=", 4680, 600, 1215, 255},
    {"Label27", 3, "mm", 6840, 600, 375, 255},
    {"Label28", 3, "2", 7080, 600, 135, 135, Look::Raised},

    {"Label59", 4, "弯距标准值=", 120, 240, 1095, 255},
    {"Label60", 4, "kN.m", 1800, 240, 375, 255},
    {"Label44", 4, "配筋", 2280, 240, 1575, 255},
    {"Label45", 4, "级直径", 3360, 240, 615, 255},
    {"Label46", 4, "间距", 4440, 240, 375, 255},
    {"Label38", 4, "钢筋面积=", 5400, 240, 1335, 255},
    {"Label39", 4, "mm", 7200, 240, 375, 255},
    {"Label40", 4, "2", 7440, 240, 135, 135, Look::Raised},
    {"Label42", 4, "配筋率p=", 120, 840, 855, 255},
    {"Label43", 4, "%", 1800, 840, 255, 255},
    {"Label61", 4, "pte=", 2040, 840, 375, 255},
    {"Label41", 4, "裂缝宽度=", 3360, 840, 975, 255},
    {"Label48", 4, "mm", 5040, 840, 375, 255},
};

enum class Paper { Default, Blue, LightYellow, Yellow, Lavender, Green };
enum class Ink { Default, White, WindowBackground, Black };

struct FieldSpec {
    Field field;
    int container;
    int left, top, width, height;
    Paper paper;
    Ink ink;
    int tabIndex;
};

constexpr FieldSpec kFieldSpecs[] = {
    {Field::Text1, 2, 1080, 360, 495, 270, Paper::Blue, Ink::White, 11},
    {Field::Text2, 2, 1320, 840, 495, 270, Paper::Blue, Ink::White, 15},
    {Field::Text3, 2, 1080, 1320, 495, 270, Paper::Blue, Ink::WindowBackground, 18},
    {Field::Text4, 2, 600, 1800, 495, 270, Paper::Blue, Ink::WindowBackground, 24},
    {Field::Text9, 2, 1200, 2280, 495, 270, Paper::Blue, Ink::White, 44},
    {Field::Text10, 2, 1680, 2760, 375, 270, Paper::Blue, Ink::WindowBackground, 48},
    {Field::Text13, 2, 1560, 3120, 495, 270, Paper::Blue, Ink::WindowBackground, 55},
    {Field::Text28, 2, 2280, 3000, 495, 375, Paper::Default, Ink::Default, 97},

    {Field::Text19, 5, 600, 240, 615, 270, Paper::LightYellow, Ink::Default, 75},
    {Field::Text20, 5, 2520, 240, 615, 270, Paper::LightYellow, Ink::Default, 78},
    {Field::Text21, 5, 4440, 240, 735, 270, Paper::LightYellow, Ink::Default, 81},
    {Field::Text22, 5, 6240, 240, 615, 270, Paper::LightYellow, Ink::Default, 84},
    {Field::Text23, 5, 8280, 240, 735, 270, Paper::Yellow, Ink::Default, 87},

    {Field::Text5, 3, 1080, 240, 735, 270, Paper::Lavender, Ink::Default, 29},
    {Field::Text11, 3, 3600, 240, 615, 270, Paper::Lavender, Ink::Default, 50},
    {Field::Text7, 3, 5880, 240, 855, 270, Paper::Lavender, Ink::Default, 37},
    {Field::Text6, 3, 1080, 600, 735, 270, Paper::Lavender, Ink::Default, 32},
    {Field::Text12, 3, 3600, 600, 615, 270, Paper::Lavender, Ink::Default, 53},
    {Field::Text8, 3, 5880, 600, 855, 270, Paper::Lavender, Ink::Default, 39},

    {Field::Text24, 4, 1080, 240, 615, 270, Paper::Yellow, Ink::Default, 90},
    {Field::Combo1, 4, 2640, 240, 615, 300, Paper::Blue, Ink::WindowBackground, 68},
    {Field::Text17, 4, 3960, 240, 375, 270, Paper::Blue, Ink::White, 67},
    {Field::Text25, 4, 4800, 240, 495, 270, Paper::Blue, Ink::WindowBackground, 93},
    {Field::Text14, 4, 6360, 240, 735, 270, Paper::LightYellow, Ink::Black, 58},
    {Field::Text16, 4, 1080, 840, 615, 270, Paper::Yellow, Ink::Black, 64},
    {Field::Text26, 4, 2400, 840, 855, 270, Paper::Yellow, Ink::Default, 94},
    {Field::Text15, 4, 4200, 840, 735, 270, Paper::LightYellow, Ink::Default, 62},
    {Field::Text18, 4, 5640, 720, 1815, 495, Paper::Green, Ink::Default, 70},

    {Field::Text29, kOnWindow, 10200, 480, 4815, 10455, Paper::Default, Ink::Default, 100},
};

struct ButtonSpec {
    const char* name;
    const char* caption;
    int left, top, width, height;
    int tabIndex;
    void (Form1::*click)();
};

constexpr ButtonSpec kButtons[] = {
    {"Command1", "强度计算", 8040, 7440, 1455, 615, 26, &Form1::Command1_Click},
    {"Command2", "裂缝计算", 8040, 8640, 1455, 615, 42, &Form1::Command2_Click},
    {"Command4", "生成计算书", 1800, 10080, 2535, 495, 99, &Form1::Command4_Click},
    {"Command3", "计算书保存", 5640, 10080, 2295, 495, 101, &Form1::Command3_Click},
    {"Command5", "现行规范复核", 8040, 10080, 1455, 495, 102, &Form1::Command5_Click},
};

constexpr int kPictureTabIndex = 8;

// A line edit takes whatever is typed or pasted; the readings judge it, not a length limit.
constexpr int kNoLengthLimit = std::numeric_limits<int>::max();
const QRect kPictureTwips(3240, 500, 6660, 4935);

std::optional<QColor> paperColour(Paper paper) {
    switch (paper) {
        case Paper::Default: return std::nullopt;
        case Paper::Blue: return QColor(0, 0, 255);
        case Paper::LightYellow: return QColor(255, 255, 128);
        case Paper::Yellow: return QColor(255, 255, 0);
        case Paper::Lavender: return QColor(192, 192, 255);
        case Paper::Green: return QColor(0, 192, 0);
    }
    return std::nullopt;
}

std::optional<QColor> inkColour(Ink ink, const QPalette& system) {
    switch (ink) {
        case Ink::Default: return std::nullopt;
        case Ink::White: return QColor(255, 255, 255);
        // The system's window-background colour used as text colour: white by default.
        case Ink::WindowBackground: return system.color(QPalette::Base);
        case Ink::Black: return QColor(0, 0, 0);
    }
    return std::nullopt;
}

void paint(QWidget* widget, Paper paper, Ink ink) {
    QPalette palette = widget->palette();
    const std::optional<QColor> text = inkColour(ink, palette);
    if (auto colour = paperColour(paper)) palette.setColor(QPalette::Base, *colour);
    if (text) palette.setColor(QPalette::Text, *text);
    widget->setPalette(palette);
}

// A fault from anything but the calculation itself (a defect, memory) still ends the press
// without touching the fields.
std::optional<Fault> runGuarded(FieldSet& fields, const Action& action) {
    try {
        return runAtomically(fields, action);
    } catch (const std::exception& error) {
        return FaultError(fault_number::kInternalError, error.what()).fault();
    } catch (...) {
        return FaultError(fault_number::kInternalError, "未知的异常").fault();
    }
}

}  // namespace

Form1::Form1(std::unique_ptr<ReportExporter> exporter, QWidget* parent)
    : QWidget(parent), exporter_(std::move(exporter)) {
    initResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProgramTitle) + QStringLiteral("  ") + QString::fromUtf8(kCredit));
    setWindowIcon(programIcon());
    // The controls stand in a client area below the menu bar, at their places within it.
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    buildWindow();
    buildMenu();
    // The initial client area, smaller than the layout: the report box and its two buttons
    // come into view when the window is enlarged. Nothing follows the window's size. The
    // window is taller by the menu bar.
    resize(pixels(9930), pixels(9600) + menuBarHeight());
}

Form1::~Form1() = default;

void Form1::buildWindow() {
    std::vector<QWidget*> containers(6, nullptr);
    containers[kOnWindow] = client_;
    for (const FrameSpec& spec : kFrames) {
        auto* frame = new QGroupBox(QString::fromUtf8(spec.caption), client_);
        frame->setObjectName(QStringLiteral("Frame%1").arg(spec.number));
        frame->setGeometry(twips(spec.left, spec.top, spec.width, spec.height));
        containers[spec.number] = frame;
    }

    // Labels first, so that fields and buttons lie above any label box that reaches under them.
    for (const LabelSpec& spec : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(spec.caption), containers[spec.container]);
        label->setObjectName(QString::fromUtf8(spec.name));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        switch (spec.look) {
            case Look::Plain: break;
            case Look::Raised: label->setFont(faceFont(Face::Song, 5.25)); break;
            case Look::Banner: {
                label->setFont(faceFont(Face::NewSong, 15.75, true));
                QPalette palette = label->palette();
                palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
                label->setPalette(palette);
                break;
            }
            case Look::Note: label->setWordWrap(true); break;
        }
        QRect box = twips(spec.left, spec.top, spec.width, spec.height);
        // A one-line caption is never cut off: where the face runs wider or taller than the
        // box, the box grows to the right and downwards from its place.
        if (spec.look != Look::Note) box.setSize(box.size().expandedTo(label->sizeHint()));
        label->setGeometry(box);
    }

    std::vector<std::pair<int, QWidget*>> tabStops;

    auto* picture = new PictureBox(client_);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setGeometry(twips(kPictureTwips.x(), kPictureTwips.y(), kPictureTwips.width(), kPictureTwips.height()));
    picture->setPicture(diagramPicture());
    tabStops.emplace_back(kPictureTabIndex, picture);

    for (const FieldSpec& spec : kFieldSpecs) {
        QWidget* parent = containers[spec.container];
        QWidget* widget = nullptr;
        if (spec.field == Field::Combo1) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            // A fixed list: typing neither adds items nor completes them.
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            combo->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
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
            if (spec.field == Field::Text18) edit->setFont(faceFont(Face::Kai, 15.75));
            widget = edit;
        }
        widget->setObjectName(QString::fromUtf8(fieldName(spec.field)));
        widget->setGeometry(twips(spec.left, spec.top, spec.width, spec.height));
        paint(widget, spec.paper, spec.ink);
        fields_[static_cast<int>(spec.field)] = widget;
        showText(spec.field, std::string(defaultText(spec.field)));
        if (spec.field == Field::Text28)
            widget->hide();
        else
            tabStops.emplace_back(spec.tabIndex, widget);
    }

    for (const ButtonSpec& spec : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(spec.caption), client_);
        button->setObjectName(QString::fromUtf8(spec.name));
        button->setGeometry(twips(spec.left, spec.top, spec.width, spec.height));
        connect(button, &QPushButton::clicked, this, spec.click);
        tabStops.emplace_back(spec.tabIndex, button);
    }

    std::sort(tabStops.begin(), tabStops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i) setTabOrder(tabStops[i - 1].second, tabStops[i].second);

    // The focus starts on the picture.
    picture->setFocus(Qt::OtherFocusReason);
}

std::string Form1::fieldText(Field field) const {
    QWidget* widget = fieldWidget(field);
    if (auto* box = qobject_cast<ReportBox*>(widget)) return box->fieldText();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText().toStdString();
    return static_cast<QLineEdit*>(widget)->text().toStdString();
}

void Form1::setFieldText(Field field, const std::string& text) {
    showText(field, text);
    shown_.setText(field, text);
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

FieldSet Form1::fieldTexts() const {
    for (Field field : allFields()) {
        std::string text = fieldText(field);
        if (text != shown_.text(field)) shown_.setText(field, std::move(text));
    }
    return shown_;
}

bool Form1::run(const Action& action, Where where) {
    // A press while another is still running (the export waits off this thread) is ignored.
    if (running_) return false;
    running_ = true;
    const FieldSet before = fieldTexts();
    FieldSet after = before;
    bool cancelled = false;
    const std::optional<Fault> fault =
        where == Where::OnThisThread ? runGuarded(after, action) : runOnWorkerThread(after, action, cancelled);
    if (fault) {
        // A press the engineer cancelled ends quietly, whatever its work said on the way out.
        if (!cancelled) showFault(*fault);
    } else {
        for (Field field : allFields())
            if (after.text(field) != before.text(field)) showText(field, after.text(field));
        shown_ = std::move(after);
    }
    running_ = false;
    return !fault;
}

std::optional<Fault> Form1::runOnWorkerThread(FieldSet& fields, const Action& action, bool& cancelled) {
    std::optional<Fault> fault;
    BusyNote note(QString::fromUtf8(kProgramTitle), QString::fromUtf8(kExportNote), this);
    // 取消 closes the note at once and tells the exporter to stop: it kills its helper, and the
    // office too where the export started it, so the worker ends within moments.
    ReportExporter* exporter = exporter_.get();
    connect(&note, &BusyNote::cancelled, this, [exporter] {
        if (exporter) exporter->cancel();
    });
    std::unique_ptr<QThread> worker(QThread::create([&] { fault = runGuarded(fields, action); }));
    // Queued to this thread: the note closes once its own event loop runs, however soon the
    // work ends.
    connect(worker.get(), &QThread::finished, &note, &BusyNote::finish, Qt::QueuedConnection);
    worker->start();
    note.exec();
    worker->wait();
    cancelled = note.wasCancelled();
    return fault;
}

void Form1::showFault(const Fault& fault) {
    QString text = QString::fromUtf8(kFaultHeadline).arg(fault.number).arg(QString::fromStdString(fault.description));
    if (!fault.what.empty()) text += QStringLiteral("\n") + QString::fromStdString(fault.what);
    MessageBox::error(this, QString::fromUtf8(kProgramTitle), text);

    // The cursor goes to the field to mend, its text selected so that typing replaces it.
    if (!fault.field) return;
    QWidget* widget = fieldWidget(*fault.field);
    if (!widget || widget->isHidden()) return;
    QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) edit = combo->lineEdit();
    widget->setFocus(Qt::OtherFocusReason);
    if (edit) edit->selectAll();
}

void Form1::Command1_Click() { run(strengthCalculation, Where::OnThisThread); }

void Form1::Command2_Click() { run(crackWidthCheck, Where::OnThisThread); }

void Form1::Command4_Click() { run(composeReport, Where::OnThisThread); }

void Form1::Command3_Click() {
    // Only a report made from the inputs now shown, or typed by the engineer, goes out.
    if (run([](FieldSet& fields) { requireCurrent(fields, Field::Text29); }, Where::OnThisThread))
        exportDocument(fieldText(Field::Text29));
}

bool Form1::exportDocument(const std::string& text) {
    ReportExporter* exporter = exporter_.get();
    // The word processor can take many seconds to answer; the window keeps painting meanwhile.
    return run(
        [exporter, text](FieldSet&) {
            if (!exporter) throw export_fault::cannotCreate("本程序没有配置文字处理软件的接口");
            exporter->exportReport(text);
        },
        Where::OnWorkerThread);
}

void Form1::Command5_Click() {
    // One review window, made on the first press and shown again on every later one.
    auto* review = findChild<ReviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!review) review = new ReviewWindow(this);
    review->show();
    review->raise();
    review->activateWindow();
}

}  // namespace wallcalc::ui
