#pragma once
// The messages of the budgets, their chapters, commitments and transfers,
// of the currencies and of the invoices, in French or Arabic by the
// session's language. The screens, folianctl and the tests call these.

#include <QString>

namespace folian::acq {

// Counts of the budget screen's panels
QString budgetsCount(int count);       // " 2 budget(s)"
QString chaptersCount(int count);      // " 3 chapitre(s)"
QString commitmentsCount(int count);   // " 1 engagements(s)"
QString transfersCount(int count);     // " 0 transfert(s)"

// Fields, as refusals name them
QString yearCaption();        // "Année"
QString amountFieldCaption(); // "Montant"
QString debitCaption();       // "Débit"
QString titleCaption();       // "Intitulé"
QString invoiceNumberCaption();

// Amounts
QString amountRequired();
QString amountNotANumber(const QString &typed);
QString amountNegative();

// Budgets
QString budgetYearInvalid(const QString &typed);
QString budgetYearExists(int year);
QString budgetYearFixed(int chapters);
QString budgetGone();
QString budgetBelowDebit();
QString budgetBelowChapters(const QString &allotted);
QString budgetHasChapters(int chapters);
QString deleteBudgetQuestion();
QString newBudgetCaption();
QString editBudgetCaption();

// Chapters
QString chaptersExceedBudget();
QString amountBelowDebit();
QString chapterGone();
QString chapterRequired();
QString chapterInUse(int commitments, int transfers);
QString deleteChapterQuestion();
QString newChapterCaption();
QString editChapterCaption();

// Commitments
QString commitmentExceedsChapter();
QString editedCommitmentsExceedChapter();
QString commitmentGone();
QString commitmentUnknown(const QString &typed);
QString commitmentRequired();
QString changedMeanwhile();
QString deleteCommitmentQuestion();
QString newCommitmentCaption();
QString editCommitmentCaption();

// Transfers
QString sameChapters();
QString transferExceedsChapter();
QString transfersNotEditable();
QString transferAcrossBudgets();
QString transferCommitted();
QString transferGone();
QString deleteTransferQuestion();
QString newTransferCaption();

// Currencies
QString currencyLabelRequired();
QString currencyInUse(int documents);
QString currencyGone();
QString deleteCurrencyQuestion(const QString &label);

// Invoices
QString invoiceNumberRequired();
QString invoiceNumberExists(const QString &number);
QString invoiceExceedsCommitment();
QString invoiceGone();
QString invoiceNotValidated();
QString deleteInvoiceQuestion(const QString &number);
QString newInvoiceCaption();
QString editInvoiceCaption();

} // namespace folian::acq
