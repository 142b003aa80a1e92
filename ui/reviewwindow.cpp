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

#include "form/review_layout.h"
#include "report/document.h"
#include "review/edition.h"
#include "ui/fonts.h"
#include "ui/reviewdiagrams.h"

namespace wallcalc::ui {
namespace {

using namespace form;  // the review window's layout: kRow..., kReview...

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ReviewWindow::ReviewWindow(form::WallDocument& document, Exporter exporter, QWidget* owner)
    : QWidget(owner, Qt::Window), document_(document), model_(document), exporter_(std::move(exporter)) {
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
    headers[kRowMsls] = qs(crackMomentHeader(review::kEditions.front().crackSymbol));
    table_->setVerticalHeaderLabels(headers);
    left->addWidget(table_);
    // The lines under the table, each wrapped to the table's width.
    auto line = [&](const char* name) {
        auto* label = new QLabel(results_);
        label->setObjectName(QString::fromUtf8(name));
        label->setWordWrap(true);
        left->addWidget(label);
        return label;
    };
    oldMethod_ = line("oldMethod");
    newMethod_ = line("newMethod");
    shear_ = line("shearFigures");
    warnings_ = line("warnings");
    QPalette warningPalette = warnings_->palette();
    warningPalette.setColor(QPalette::WindowText, QColor(170, 90, 0));
    warnings_->setPalette(warningPalette);
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

    inputs_ = document_.fields();
    showOptions();
    observer_ = document_.observe([this](form::WallDocument::Change change) { follow(change); });
    recompute();
}

ReviewWindow::~ReviewWindow() { document_.forget(observer_); }

void ReviewWindow::follow(form::WallDocument::Change change) {
    using Change = form::WallDocument::Change;
    if (change == Change::Options) showOptions();
    if (change != Change::Fields) return;
    // Every field but the report box is an input of the review or of its comparison.
    bool changed = false;
    for (Field field : allFields())
        if (field != Field::Text29 && inputs_.text(field) != document_.text(field)) changed = true;
    inputs_ = document_.fields();
    if (changed) scheduleRecompute();
}

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
        if (spec.isNumber() || spec.isText()) {
            auto* edit = new QLineEdit(QString::fromStdString(review::optionText(defaults, spec.key)), box);
            edit->setMinimumWidth(metrics.horizontalAdvance(QString::fromUtf8(kOptionBoxMinimum)) + 12);
            edit->setMaximumWidth(metrics.horizontalAdvance(QString::fromUtf8(kOptionBoxMaximum)) + 12);
            // Storey heights and bars as drawn are longer texts than a number.
            if (spec.isText()) {
                const int width = metrics.horizontalAdvance(QString::fromUtf8(kOptionTextBoxMinimum));
                edit->setMinimumWidth(width + 12);
                edit->setMaximumWidth(width + 12);
            }
            connect(edit, &QLineEdit::textChanged, this, &ReviewWindow::scheduleRecompute);
            connect(edit, &QLineEdit::textChanged, this,
                    [this, key = spec.key](const QString& text) { optionEdited(key, text); });
            control = edit;
        } else {
            auto* combo = new QComboBox(box);
            for (const review::OptionWord& word : spec.words)
                if (!word.text.empty())
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
        const QString text = QString::fromStdString(document_.optionText(option.key));
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
    if (!showingOptions_) document_.setOption(key, text.toStdString());
}

QString ReviewWindow::statusText() const { return status_->text(); }

void ReviewWindow::scheduleRecompute() { debounce_.start(); }

void ReviewWindow::recompute() {
    debounce_.stop();
    model_.recompute();
    if (!model_.isStale()) {
        const review::Result& result = *model_.result();
        showResult(result);
        pressure_->setReview(result, model_.points());
        moment_->setReview(result, model_.points());
        oldMethod_->setText(qs(model_.fourButtons()));
    }
    status_->setText(qs(model_.status()));
    setStale(model_.isStale());
}

void ReviewWindow::setStale(bool stale) {
    results_->setEnabled(!stale);
    QPalette palette = status_->palette();
    palette.setColor(QPalette::WindowText, stale ? QColor(200, 0, 0) : QColor(0, 110, 0));
    status_->setPalette(palette);
    for (const char* name : {kShowReviewReport.name, kExportReviewReport.name})
        if (auto* button = findChild<QPushButton*>(QString::fromUtf8(name)))
            button->setEnabled(!stale && model_.result());
}

void ReviewWindow::showResult(const review::Result& result) {
    const auto& sections = result.sections;
    table_->setColumnCount(static_cast<int>(sections.size()));
    QStringList headers;
    for (const review::Section& s : sections) headers << qs(sectionWord(s, result));
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeaderItem(kRowMsls)->setText(qs(crackMomentHeader(result.edition->crackSymbol)));
    for (int column = 0; column < static_cast<int>(sections.size()); ++column) {
        const review::Section& s = sections[column];
        const auto cells = resultCells(s);
        for (int row = 0; row < kResultRowCount; ++row) {
            auto* item = new QTableWidgetItem(qs(cells[row]));
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
    }
    newMethod_->setText(qs(model_.reviewFigures()));
    shear_->setText(qs(model_.shearFigures()));
    warnings_->setText(qs(model_.warningsText()));
    warnings_->setVisible(!model_.warningsText().empty());

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
    for (QLabel* label : {oldMethod_, newMethod_, shear_, warnings_}) label->setFixedWidth(labelWidth);
}

std::string ReviewWindow::reportText() const {
    return model_.reportText(QDate::currentDate().toString(Qt::ISODate).toStdString());
}

void ReviewWindow::showReport() {
    if (!model_.result() || model_.isStale()) return;
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
    if (!model_.result() || model_.isStale()) return;
    const report::book::Document book = model_.book(QDate::currentDate().toString(Qt::ISODate).toStdString());
    if (exporter_) exporter_(Book{report::book::bookJson(book), report::book::plainText(book)});
}

}  // namespace wallcalc::ui
