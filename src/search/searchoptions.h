#pragma once

class QCheckBox;

// The option flags of a search (2 whole word, 4 match case) as the check
// boxes of the Find and Replace dialogs show them, and back.
int searchOptions(const QCheckBox &matchCase, const QCheckBox &wholeWord);
void showSearchOptions(int options, QCheckBox &matchCase, QCheckBox &wholeWord);
