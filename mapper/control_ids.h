/* Control identifiers of the enclosure form, shared by the resource script and the code. */
#ifndef MAPPER_CONTROL_IDS_H
#define MAPPER_CONTROL_IDS_H

#define IDD_ENCLOSURE_FORM 101

#define IDC_CANCEL 2
#define IDC_UPPER_BAY_FIRST 1000       /* upper bay selector of column c: + c */
#define IDC_LOWER_BAY_FIRST 1008       /* lower bay selector of column c: + c */
#define IDC_LABEL_FIRST 1017           /* label of row r, column c: + 8r + c */
#define IDC_LABEL_LAST 1064
#define IDC_INTRO_TEXT 1082
#define IDC_ENCLOSURE_TYPE 1083
#define IDC_ENCLOSURE_TYPE_CAPTION 1084
#define IDC_EXPLANATION 1085
#define IDC_COLUMN_OS_FIRST 1087       /* column OS selector of column c: + c */
#define IDC_MESSAGE 1095
#define IDC_FILL_WITH_SAME 1096
#define IDC_RESET 1097
#define IDC_UPPER_CAPTION_FIRST 1101   /* "Bay 1" .. "Bay 8" */
#define IDC_LOWER_CAPTION_FIRST 1109   /* "Bay 9" .. "Bay 16" */
#define IDC_DEFAULT_OS 1118
#define IDC_DEFAULT_OS_CAPTION 1119
#define IDC_ORDERING_NOTE 1120

#ifdef __cplusplus
/* The identifier arithmetic: the only place that spells it out. */
namespace ids {

constexpr int kColumns = 8;
constexpr int kLabelRows = 6;
constexpr int kFirstLowerLabelRow = 4;   /* rows 4-5 are the lower rows */
constexpr int kGroupSize = 4;            /* columns 0-3 and 4-7 */

constexpr int upperBay(int column) { return IDC_UPPER_BAY_FIRST + column; }
constexpr int lowerBay(int column) { return IDC_LOWER_BAY_FIRST + column; }
constexpr int columnOs(int column) { return IDC_COLUMN_OS_FIRST + column; }
constexpr int label(int row, int column) { return IDC_LABEL_FIRST + kColumns * row + column; }
constexpr int upperCaption(int column) { return IDC_UPPER_CAPTION_FIRST + column; }
constexpr int lowerCaption(int column) { return IDC_LOWER_CAPTION_FIRST + column; }

constexpr bool isUpperBay(int id) { return id >= upperBay(0) && id < upperBay(kColumns); }
constexpr bool isLowerBay(int id) { return id >= lowerBay(0) && id < lowerBay(kColumns); }
constexpr bool isBay(int id) { return isUpperBay(id) || isLowerBay(id); }
constexpr bool isColumnOs(int id) { return id >= columnOs(0) && id < columnOs(kColumns); }
constexpr bool isLabel(int id) { return id >= IDC_LABEL_FIRST && id <= IDC_LABEL_LAST; }
constexpr bool isUpperCaption(int id) { return id >= upperCaption(0) && id < upperCaption(kColumns); }
constexpr bool isLowerCaption(int id) { return id >= lowerCaption(0) && id < lowerCaption(kColumns); }

/* Column of a bay selector (either row), a column OS selector or a label. */
constexpr int columnOfBay(int bayId) { return (bayId - IDC_UPPER_BAY_FIRST) % kColumns; }
constexpr int columnOfOs(int osId) { return osId - IDC_COLUMN_OS_FIRST; }
constexpr int labelColumn(int labelId) { return (labelId - IDC_LABEL_FIRST) % kColumns; }
constexpr int labelRow(int labelId) { return (labelId - IDC_LABEL_FIRST) / kColumns; }
/* First column of the group of four that holds the column. */
constexpr int groupStart(int column) { return column - column % kGroupSize; }

}  // namespace ids
#endif

#endif
