// The two form routines shared by every binding: the message line and hiding a label column.
#include "form.h"

void showMessage(EnclosureForm& form, const std::string& text) {
    form.setText(IDC_MESSAGE, text);
    form.setVisible(IDC_MESSAGE, true);
}

void hideColumnLabels(EnclosureForm& form, int firstLabel) {
    for (int row = 0; row < ids::kLabelRows; ++row)
        form.setVisible(firstLabel + ids::kColumns * row, false);
}
