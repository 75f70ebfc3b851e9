#include "app/ContactEditor.h"

#include "app/AccessibleLabel.h"
#include "app/AppTexts.h"
#include "app/Desktop.h"
#include "app/TypedRows.h"
#include "contacts/VCardCards.h"
#include "contacts/VCardEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLineEdit* lineField(QFormLayout* form, const QString& caption, const char* name) {
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(name));
    auto* label = new QLabel(caption);
    form->addRow(label, field);
    labelControl(label, field);
    return field;
}

QPlainTextEdit* cardTextView(const char* name, const QString& accessibleName) {
    auto* view = new QPlainTextEdit;
    view->setObjectName(QString::fromLatin1(name));
    view->setAccessibleName(accessibleName);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    return view;
}

}  // namespace

ContactEditor::ContactEditor(OpenedContact opened, QWidget* parent) : QDialog(parent), m_opened(std::move(opened)) {
    setObjectName(QStringLiteral("ContactEditor"));
    setWindowTitle(m_opened.file.empty() ? kNewTitle : kEditTitle);
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);
    if (m_opened.file.empty() && m_opened.bytes.empty()) {
        m_opened.bytes = newCard({}, newUid());  // VERSION:3.0 and a UID, what the fields go into
    }
    m_base = m_opened.bytes;

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabEditor"));
    m_tabs->addTab(makeFieldsTab(), kFieldsTab);
    m_tabs->addTab(makeTextTab(), kVcardTab);
    connect(m_tabs, &QTabWidget::currentChanged, this, &ContactEditor::tabChanged);

    m_serverPane = new QWidget;
    auto* serverLayout = new QVBoxLayout(m_serverPane);
    auto* serverLabel = new QLabel(kServerVersionLabel);
    m_txtServerVersion = cardTextView("txtServerVersion", kServerVersionLabel);
    m_txtServerVersion->setReadOnly(true);
    serverLayout->addWidget(serverLabel);
    serverLayout->addWidget(m_txtServerVersion, 1);
    m_serverPane->hide();
    auto* splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_serverPane);

    auto* buttons = new QDialogButtonBox;
    m_cmdSave = buttons->addButton(kSaveButton, QDialogButtonBox::AcceptRole);
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdSave->setDefault(true);
    m_cmdCancel = buttons->addButton(kCancelButton, QDialogButtonBox::RejectRole);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_cmdSave, &QPushButton::clicked, this, &ContactEditor::save);
    connect(m_cmdCancel, &QPushButton::clicked, this, &ContactEditor::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);
    showFields(contactFields(m_base));
    m_txtName->setFocus();
    // Room for an email address beside its type and a Remove button.
    const int character = fontMetrics().averageCharWidth();
    resize(std::max(sizeHint().width(), 64 * character), sizeHint().height());
}

QWidget* ContactEditor::makeFieldsTab() {
    auto* tab = new QWidget;
    auto* form = new QFormLayout(tab);
    m_txtName = lineField(form, kNameLabel, "txtName");
    m_txtGiven = lineField(form, kGivenLabel, "txtGiven");
    m_txtFamily = lineField(form, kFamilyLabel, "txtFamily");
    m_txtOrganisation = lineField(form, kOrganisationLabel, "txtOrganisation");
    m_txtTitle = lineField(form, kTitleLabel, "txtTitle");
    m_emails = new TypedRows(
        kEmailEntry, QStringLiteral("txtEmail"),
        {QStringLiteral("home"), QStringLiteral("work"), QStringLiteral("internet"), QStringLiteral("pref")});
    form->addRow(kEmailsLabel, m_emails);
    m_phones = new TypedRows(kPhoneEntry, QStringLiteral("txtPhone"),
                             {QStringLiteral("cell"), QStringLiteral("home"), QStringLiteral("work"),
                              QStringLiteral("voice"), QStringLiteral("fax"), QStringLiteral("pager")});
    form->addRow(kPhonesLabel, m_phones);
    m_txtNote = new QPlainTextEdit;
    m_txtNote->setObjectName(QStringLiteral("txtNote"));
    m_txtNote->setTabChangesFocus(true);
    auto* noteLabel = new QLabel(kNoteLabel);
    form->addRow(noteLabel, m_txtNote);
    labelControl(noteLabel, m_txtNote);
    return tab;
}

QWidget* ContactEditor::makeTextTab() {
    m_txtVcard = cardTextView("txtVcard", kVcardText);
    m_txtVcard->setTabChangesFocus(true);
    connect(m_txtVcard, &QPlainTextEdit::textChanged, this, [this] { m_textTyped = !m_textStale; });
    return m_txtVcard;
}

void ContactEditor::showFields(const ContactFields& fields) {
    m_txtName->setText(QString::fromStdU16String(fields.name));
    m_txtGiven->setText(QString::fromStdU16String(fields.given));
    m_txtFamily->setText(QString::fromStdU16String(fields.family));
    m_txtOrganisation->setText(QString::fromStdU16String(fields.organisation));
    m_txtTitle->setText(QString::fromStdU16String(fields.title));
    m_emails->setEntries(fields.emails);
    m_phones->setEntries(fields.phones);
    m_txtNote->setPlainText(QString::fromStdU16String(fields.note));
}

ContactFields ContactEditor::shownFields() const {
    ContactFields fields;
    fields.name = m_txtName->text().toStdU16String();
    fields.given = m_txtGiven->text().toStdU16String();
    fields.family = m_txtFamily->text().toStdU16String();
    fields.organisation = m_txtOrganisation->text().toStdU16String();
    fields.title = m_txtTitle->text().toStdU16String();
    fields.emails = m_emails->entries();
    fields.phones = m_phones->entries();
    fields.note = m_txtNote->toPlainText().toStdU16String();
    return fields;
}

std::optional<std::string> ContactEditor::currentBytes() {
    if (m_textTyped) {
        std::string typed = cardBytes(m_txtVcard->toPlainText(), m_shownText);
        return vcardCards(typed).size() == 1 ? std::optional(std::move(typed)) : std::nullopt;
    }
    ContactFields fields = shownFields();
    if (m_opened.file.empty()) {
        fields = withNameParts(std::move(fields));
    }
    return editedCard(m_base, fields);
}

void ContactEditor::fillText() {
    m_textStale = true;  // the filling itself is no typing
    m_shownText = cardText(m_base);
    m_txtVcard->setPlainText(m_shownText.text);
    m_textStale = false;
    m_textTyped = false;
}

void ContactEditor::tabChanged(int index) {
    m_cmdSave->setDefault(true);
    std::optional<std::string> bytes = currentBytes();
    if (!bytes && index == 0) {
        desktop().showMessage(kNotOneCard, MessageStyle::Information, {});
        m_tabs->setCurrentIndex(1);  // the text stays as typed, to be mended
        return;
    }
    if (!bytes) {
        fillText();  // a card opened broken: its text is where it can be mended
        return;
    }
    m_base = std::move(*bytes);
    m_textTyped = false;
    // The fields read again: an entry added becomes the line it now is.
    showFields(contactFields(m_base));
    if (index == 1) {
        fillText();  // a card with a 10 MB photo fills it here, not when the editor opens
    }
}

bool ContactEditor::changed() {
    const std::optional<std::string> bytes = currentBytes();
    return !bytes || *bytes != m_opened.bytes;
}

void ContactEditor::save() {
    if (m_saving) {
        return;
    }
    std::optional<std::string> bytes = currentBytes();
    if (!bytes) {
        desktop().showMessage(kNotOneCard, MessageStyle::Information, {});
        return;
    }
    if (contactFields(*bytes).name.find_first_not_of(u" \t") == std::u16string::npos) {
        desktop().showMessage(kNameNeeded, MessageStyle::Information, {});
        m_tabs->setCurrentIndex(0);
        m_txtName->setFocus();
        return;
    }
    if (*bytes == m_opened.bytes && !m_opened.file.empty()) {
        accept();  // nothing changed: nothing to send
        return;
    }
    m_saving = true;
    m_cmdSave->setEnabled(false);
    emit saveRequested(*bytes);
}

void ContactEditor::saveEnded(const SaveReport& report, const QString& message) {
    m_saving = false;
    m_cmdSave->setEnabled(true);
    if (!message.isEmpty()) {
        desktop().showMessage(message, MessageStyle::Information, {});
    }
    switch (report.step) {
        case SaveStep::Unchanged:
        case SaveStep::Saved:
        case SaveStep::Posted:
        case SaveStep::OldKept: accept(); return;
        case SaveStep::Changed:
            m_txtServerVersion->setPlainText(cardText(report.serverBytes).text);
            if (m_serverPane->isHidden()) {
                m_serverPane->show();
                resize(width() + 48 * fontMetrics().averageCharWidth(), height());  // beside, not over, the edit
            }
            return;
        case SaveStep::Failed: return;
    }
}

void ContactEditor::keyPressEvent(QKeyEvent* event) {
    // Return that a one-line field leaves to the dialog saves. QDialog would press the default
    // button, but lets go of it while the focus passes through the vCard text; a button with the
    // focus and the two text areas take Return themselves and never send it here.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        save();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ContactEditor::reject() {
    if (m_saving) {
        return;  // the save's answer decides
    }
    if (changed() && !desktop().confirm(this, kDiscardQuestion)) {
        return;
    }
    QDialog::reject();
}
