#include "search/searchoptions.h"

#include "editor/richtextbox.h"

#include <QCheckBox>

int searchOptions(const QCheckBox &matchCase, const QCheckBox &wholeWord) {
    int options = 0;
    if (matchCase.isChecked()) options |= RichTextBox::MatchCase;
    if (wholeWord.isChecked()) options |= RichTextBox::WholeWord;
    return options;
}

void showSearchOptions(int options, QCheckBox &matchCase, QCheckBox &wholeWord) {
    // Only the combinations the dialogs make are read back.
    constexpr int both = RichTextBox::MatchCase | RichTextBox::WholeWord;
    matchCase.setChecked(options == RichTextBox::MatchCase || options == both);
    wholeWord.setChecked(options == RichTextBox::WholeWord || options == both);
}
