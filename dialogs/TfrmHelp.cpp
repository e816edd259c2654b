#include "TfrmHelp.h"

#include "media/Sound.h"
#include "ui_TfrmHelp.h"

namespace {

// Nine lines, the trailing blanks and the last line of a single blank included.
const QString HelpText =
    QStringLiteral("To play the game simply click on the New Game button\n"
                   "and then click on the letters in the grid to build a new \n"
                   "word. Once a letter has been used it will not be available\n"
                   "until you have began creating a new word. When you are\n"
                   "satisfied with the word you have created you can click on \n"
                   "the Add Word button to add it to the list. Longer words are \n"
                   "worth more points.\n"
                   "\n"
                   " ");

} // namespace

TfrmHelp::TfrmHelp(QWidget* owner) : TNoticeDialog(owner, 430, 410) {
    ui_->Memo1->setPlainText(HelpText);
}

TfrmHelp::~TfrmHelp() = default;

void TfrmHelp::FormShow() {
    PlayWave("LOADING", false);
    // First in the tab order; the toolkit would start at the OK picture, made
    // before it.
    ui_->Memo1->setFocus();
}

void TfrmHelp::FormClose() {
    PlayWave("CLICK", true);
}
