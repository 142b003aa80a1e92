#include "ui/reviewwindow.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/action.h"
#include "core/fault.h"
#include "form/review_layout.h"
#include "report/review_compose.h"
#include "review/edition.h"
#include "ui/fonts.h"
#include "ui/form1.h"
#include "ui/reviewdiagrams.h"

namespace wallcalc::ui {
namespace {

using namespace form;  // the review window's layout: kRow..., kReview...

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

// The caption of an option's word as the option controls offer it (现行规范 for current).
QString wordCaption(std::string_view key, std::string_view text) {
    for (const review::OptionWord& word : review::findOption(key)->words)
        if (word.text == text) return qs(word.caption);
    return qs(text);
}

// The row header of the crack check's moment, by the edition's symbol (Mq or Mk).
QString crackMomentHeader(std::string_view symbol) {
    return QString::fromUtf8(kResultRowHeaders[kRowMsls]).arg(qs(symbol));
}

QString sectionWord(std::string_view name) {
    if (name == "base") return QStringLiteral("底部支座");
    if (name == "top") return QStringLiteral("顶部支座");
    return QStringLiteral("跨中");
}

QString fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }
QString fixed(const std::optional<double>& value, int decimals) {
    return value ? fixed(*value, decimals) : QStringLiteral("—");
}
QString bars(double d, double s) { return QStringLiteral("Φ%1@%2").arg(d).arg(s); }
QString bars(const review::Candidate& c) { return QStringLiteral("Φ%1@%2").arg(c.d).arg(c.s); }

std::optional<Fault> runFourButtons(FieldSet& fields) {
    try {
        return runAtomically(fields, [](FieldSet& f) {
            strengthCalculation(f);
            crackWidthCheck(f);
        });
    } catch (const std::exception& error) {
        return Fault{51, "内部错误", error.what()};
    }
}

}  // namespace

ReviewWindow::ReviewWindow(Form1* form) : QWidget(form, Qt::Window), form_(form) {
    setObjectName(QStringLiteral("ReviewWindow"));
    setWindowTitle(QString::fromUtf8(kReviewTitle));
    setFont(defaultUiFont());
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(buildOptions());

    results_ = new QWidget(this);
    results_->setObjectName(QStringLiteral("results"));
    auto* resultsLayout = new QHBoxLayout(results_);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    table_ = new QTableWidget(kResultRowCount, 0, results_);
    table_->setObjectName(QStringLiteral("resultsTable"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QStringList headers;
    for (const char* header : kResultRowHeaders) headers << QString::fromUtf8(header);
    headers[kRowMsls] = crackMomentHeader(review::kEditions.front().crackSymbol);
    table_->setVerticalHeaderLabels(headers);
    left->addWidget(table_);
    oldMethod_ = new QLabel(results_);
    oldMethod_->setObjectName(QStringLiteral("oldMethod"));
    oldMethod_->setWordWrap(true);
    newMethod_ = new QLabel(results_);
    newMethod_->setObjectName(QStringLiteral("newMethod"));
    newMethod_->setWordWrap(true);
    left->addWidget(oldMethod_);
    left->addWidget(newMethod_);
    left->addStretch(1);
    resultsLayout->addLayout(left, 0);
    pressure_ = new ReviewDiagram(ReviewDiagram::Kind::Pressure, results_);
    moment_ = new ReviewDiagram(ReviewDiagram::Kind::Moment, results_);
    resultsLayout->addWidget(pressure_, 1);
    resultsLayout->addWidget(moment_, 1);
    outer->addWidget(results_, 1);

    auto* bottom = new QHBoxLayout;
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    status_->setFrameShape(QFrame::StyledPanel);
    bottom->addWidget(status_, 1);
    auto* show = new QPushButton(QString::fromUtf8(kShowReviewReport.caption), this);
    show->setObjectName(QString::fromUtf8(kShowReviewReport.name));
    auto* save = new QPushButton(QString::fromUtf8(kExportReviewReport.caption), this);
    save->setObjectName(QString::fromUtf8(kExportReviewReport.name));
    connect(show, &QPushButton::clicked, this, &ReviewWindow::showReport);
    connect(save, &QPushButton::clicked, this, &ReviewWindow::exportReport);
    bottom->addWidget(show);
    bottom->addWidget(save);
    outer->addLayout(bottom);

    debounce_.setSingleShot(true);
    debounce_.setInterval(kReviewDebounceMs);
    connect(&debounce_, &QTimer::timeout, this, &ReviewWindow::recompute);

    // Every input of Form1: a change is reviewed once typing pauses.
    for (Field field : allFields()) {
        if (field == Field::Text29) continue;
        QWidget* widget = form_->fieldWidget(field);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            connect(edit, &QLineEdit::textChanged, this, &ReviewWindow::scheduleRecompute);
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            connect(combo, &QComboBox::editTextChanged, this, &ReviewWindow::scheduleRecompute);
    }
    showOptions();
    connect(form_, &Form1::reviewOptionsChanged, this, &ReviewWindow::showOptions);
    recompute();
}

ReviewWindow::~ReviewWindow() = default;

QWidget* ReviewWindow::buildOptions() {
    auto* box = new QGroupBox(QString::fromUtf8(kReviewOptionsTitle), this);
    box->setObjectName(QStringLiteral("options"));
    auto* grid = new QGridLayout(box);
    const review::Options defaults;
    int cell = 0;
    auto place = [&](const QString& label, QWidget* control, const QString& unit) {
        const int row = cell / kOptionsPerRow, column = cell % kOptionsPerRow * 3;
        grid->addWidget(new QLabel(label, box), row, column);
        grid->addWidget(control, row, column + 1);
        grid->addWidget(new QLabel(unit, box), row, column + 2);
        ++cell;
    };

    const QFontMetrics metrics(font());
    for (const review::OptionSpec& spec : review::optionTable()) {
        const QString key = QString::fromUtf8(spec.key.data(), spec.key.size());
        QWidget* control = nullptr;
        if (spec.isNumber()) {
            auto* edit = new QLineEdit(QString::fromStdString(review::optionText(defaults, spec.key)), box);
            edit->setMinimumWidth(metrics.horizontalAdvance(QString::fromUtf8(kOptionBoxMinimum)) + 12);
            edit->setMaximumWidth(metrics.horizontalAdvance(QString::fromUtf8(kOptionBoxMaximum)) + 12);
            connect(edit, &QLineEdit::textChanged, this, &ReviewWindow::scheduleRecompute);
            connect(edit, &QLineEdit::textChanged, this,
                    [this, key = spec.key](const QString& text) { optionEdited(key, text); });
            control = edit;
        } else {
            auto* combo = new QComboBox(box);
            for (const review::OptionWord& word : spec.words)
                combo->addItem(QString::fromUtf8(word.caption.data(), word.caption.size()),
                               QString::fromUtf8(word.text.data(), word.text.size()));
            combo->setCurrentIndex(combo->findData(QString::fromStdString(review::optionText(defaults, spec.key))));
            connect(combo, &QComboBox::currentIndexChanged, this, &ReviewWindow::scheduleRecompute);
            connect(combo, &QComboBox::currentIndexChanged, this,
                    [this, combo, key = spec.key] { optionEdited(key, combo->currentData().toString()); });
            control = combo;
        }
        control->setObjectName(key);
        options_.push_back({spec.key, control});
        place(QString::fromUtf8(spec.caption.data(), spec.caption.size()), control,
              QString::fromUtf8(spec.unit.data(), spec.unit.size()));
    }
    return box;
}

QWidget* ReviewWindow::optionWidget(std::string_view key) const {
    for (const Option& option : options_)
        if (option.key == key) return option.widget;
    return nullptr;
}

void ReviewWindow::showOptions() {
    // A control set from here must not hand its text back: the recompute its change schedules
    // is all that follows.
    showingOptions_ = true;
    for (const Option& option : options_) {
        const QString text = QString::fromStdString(form_->reviewOptionText(option.key));
        if (auto* combo = qobject_cast<QComboBox*>(option.widget)) {
            const int index = combo->findData(text);
            if (combo->currentIndex() != index) combo->setCurrentIndex(index);
        } else if (auto* edit = static_cast<QLineEdit*>(option.widget); edit->text() != text) {
            edit->setText(text);
        }
    }
    showingOptions_ = false;
}

void ReviewWindow::optionEdited(std::string_view key, const QString& text) {
    if (!showingOptions_) form_->setReviewOption(key, text.toStdString());
}

QString ReviewWindow::statusText() const { return status_->text(); }

void ReviewWindow::scheduleRecompute() { debounce_.start(); }

void ReviewWindow::recompute() {
    debounce_.stop();
    ++reviews_;
    // Everything is worked out before anything is shown: a refusal anywhere shows nothing new.
    try {
        // The wall's options as Form1 holds them, refused texts included, so that the engine
        // says what is wrong with one.
        review::Options options;
        for (std::string_view key : review::optionKeys()) review::setOption(options, key, form_->reviewOptionText(key));
        const FieldSet fields = form_->fieldTexts();
        review::Result result = review::reviewWall(fields, options);
        std::vector<review::DiagramPoint> points = review::diagram(result, kDiagramPoints);
        FieldSet copy = fields;
        const std::optional<Fault> oldFault = runFourButtons(copy);

        result_ = std::move(result);
        showResult(*result_);
        pressure_->setReview(*result_, points);
        moment_->setReview(*result_, std::move(points));
        if (oldFault) {
            oldMethod_->setText(
                QStringLiteral("四个按钮（原算法）：运行时错误 %1：%2　%3")
                    .arg(oldFault->number)
                    .arg(QString::fromStdString(oldFault->description), QString::fromStdString(oldFault->what)));
        } else {
            auto text = [&](Field field) { return QString::fromStdString(copy.text(field)); };
            oldMethod_->setText(
                QStringLiteral("四个按钮（原算法）：M1＝%1 kN·m，M2＝%2 kN·m，As1＝%3 mm²，As2＝%4 mm²，ωmax＝%5 mm")
                    .arg(text(Field::Text5), text(Field::Text6), text(Field::Text7), text(Field::Text8),
                         text(Field::Text15)));
        }
        setStale(false);
    } catch (const FaultError& error) {
        status_->setText(QStringLiteral("输入被拒绝（显示的是上一次有效的结果）：") +
                         QString::fromStdString(error.fault().what));
        setStale(true);
    } catch (const std::exception& error) {
        status_->setText(QStringLiteral("复核失败（显示的是上一次有效的结果）：") + QString::fromUtf8(error.what()));
        setStale(true);
    }
}

void ReviewWindow::setStale(bool stale) {
    stale_ = stale;
    results_->setEnabled(!stale);
    QPalette palette = status_->palette();
    palette.setColor(QPalette::WindowText, stale ? QColor(200, 0, 0) : QColor(0, 110, 0));
    status_->setPalette(palette);
    for (const char* name : {kShowReviewReport.name, kExportReviewReport.name})
        if (auto* button = findChild<QPushButton*>(QString::fromUtf8(name))) button->setEnabled(!stale && result_);
}

void ReviewWindow::showResult(const review::Result& result) {
    const auto& sections = result.sections;
    table_->setColumnCount(static_cast<int>(sections.size()));
    QStringList headers;
    for (const review::Section& s : sections) headers << sectionWord(s.name);
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeaderItem(kRowMsls)->setText(crackMomentHeader(result.edition->crackSymbol));
    QStringList verdicts;
    QStringList summary;
    for (int column = 0; column < static_cast<int>(sections.size()); ++column) {
        const review::Section& s = sections[column];
        QString cells[kResultRowCount];
        cells[kRowX] = fixed(s.x, 3);
        cells[kRowMuls] = fixed(s.Muls, 2);
        cells[kRowMsls] = fixed(s.Msls, 2);
        cells[kRowH0] = fixed(s.h0, 1);
        cells[kRowAs] = s.As ? fixed(s.As, 0) : QString::fromStdString(s.note);
        cells[kRowAsMin] = fixed(s.AsMin, 0);
        cells[kRowAsReq] = fixed(s.AsReq, 0);
        cells[kRowGiven] = bars(s.given.d, s.given.s);
        cells[kRowAsP] = fixed(s.given.AsP, 0);
        cells[kRowW] = fixed(s.given.w, 3) + QStringLiteral(" ≤ ") + fixed(s.wlim, 2);
        if (s.given.w > s.wlim) cells[kRowW] = fixed(s.given.w, 3) + QStringLiteral(" ＞ ") + fixed(s.wlim, 2);
        cells[kRowVerdict] = s.given.ok ? QStringLiteral("✔ 满足") : QStringLiteral("✘ 不满足");
        cells[kRowChoice] = s.choice.empty()
                                ? QStringLiteral("无")
                                : bars(s.choice[0]) + QStringLiteral("（%1）").arg(fixed(s.choice[0].AsP, 0));
        QStringList next;
        for (std::size_t i = 1; i < s.choice.size(); ++i) next << bars(s.choice[i]);
        cells[kRowNext] = next.isEmpty() ? QStringLiteral("—") : next.join(QStringLiteral("，"));
        cells[kRowGoverns] = s.governs ? QString::fromStdString(*s.governs) : QStringLiteral("—");
        for (int row = 0; row < kResultRowCount; ++row) {
            auto* item = new QTableWidgetItem(cells[row]);
            item->setTextAlignment(Qt::AlignCenter);
            if (row == kRowVerdict) {
                item->setBackground(s.given.ok ? QColor(200, 240, 200) : QColor(255, 205, 205));
                item->setForeground(s.given.ok ? QColor(0, 110, 0) : QColor(190, 0, 0));
                QFont bold = font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table_->setItem(row, column, item);
        }
        verdicts << sectionWord(s.name) + (s.given.ok ? QStringLiteral("满足") : QStringLiteral("不满足"));
        summary << QStringLiteral("%1 M＝%2 kN·m，As,req＝%3 mm²，w＝%4 mm")
                       .arg(sectionWord(s.name), fixed(s.Muls, 2), fixed(s.AsReq, 0), fixed(s.given.w, 3));
    }
    newMethod_->setText(QStringLiteral("本复核：") + summary.join(QStringLiteral("；")));
    const review::Section& first = sections.front();
    status_->setText(QStringLiteral("复核完成（%1）：实配%2　%3")
                         .arg(wordCaption("edition", result.options.edition), bars(first.given.d, first.given.s),
                              verdicts.join(QStringLiteral("，"))));

    // The table shows every cell whole: no scrolling, nothing cut off.
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    int width = table_->verticalHeader()->width() + 2 * table_->frameWidth();
    for (int c = 0; c < table_->columnCount(); ++c) width += table_->columnWidth(c);
    int height = table_->horizontalHeader()->height() + 2 * table_->frameWidth();
    for (int r = 0; r < table_->rowCount(); ++r) height += table_->rowHeight(r);
    table_->setFixedSize(width, height);
    const int labelWidth = std::max(width, table_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 40);
    oldMethod_->setFixedWidth(labelWidth);
    newMethod_->setFixedWidth(labelWidth);
}

std::string ReviewWindow::reportText() const {
    if (!result_) return {};
    return reviewReportText(*result_, QDate::currentDate().toString(Qt::ISODate).toStdString());
}

void ReviewWindow::showReport() {
    if (!result_ || stale_) return;
    if (!report_) {
        report_ = new QPlainTextEdit(this);
        report_->setWindowFlag(Qt::Window);
        report_->setObjectName(QStringLiteral("reviewReport"));
        report_->setWindowTitle(QString::fromUtf8(kReviewReportTitle));
        report_->setReadOnly(true);
        report_->setLineWrapMode(QPlainTextEdit::NoWrap);
        report_->setFont(defaultUiFont());
        const QFontMetrics metrics(report_->font());
        report_->resize(metrics.horizontalAdvance(QLatin1Char('M')) * 110, metrics.height() * 40);
    }
    QString text = QString::fromStdString(reportText());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    report_->setPlainText(text);
    report_->show();
    report_->raise();
}

void ReviewWindow::exportReport() {
    if (!result_ || stale_) return;
    form_->exportDocument(reportText());
}

}  // namespace wallcalc::ui
