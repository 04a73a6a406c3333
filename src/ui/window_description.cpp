#include "ui/window_description.h"

#include <array>

#include "resources/resource.h"

namespace {

constexpr std::array kControls{
    ControlDescription{L"DriveComboBox", L"", {200, 64, 217, 21}, L"", kTabStop, 1001, 0},
    ControlDescription{L"GroupBox1", L"Opcje : ", {8, 128, 417, 177}, L"", kDisabled, 1002, 0},
    ControlDescription{L"KopiujInstalatorCheckBox1",
                       L"Kopiuj na nośnik docelowy instalator DVL.EXE",
                       {16, 133, 390, 17},
                       L"GroupBox1",
                       kTabStop | kChecked,
                       1003,
                       0},
    ControlDescription{L"PobierzZNetuCheckBox1",
                       L"Pobierz potrzebne pliki z internetu",
                       {16, 152, 390, 17},
                       L"GroupBox1",
                       kTabStop | kChecked,
                       1004,
                       0},
    ControlDescription{
        L"BitBtn1", L"&Kopiuj pliki", {296, 312, 129, 41}, L"", kTabStop | kDisabled, kDefaultButtonId, IDB_GLYPH_COPY},
    ControlDescription{
        L"BitBtnKoniec", L"Zamknij", {296, 360, 131, 25}, L"", kTabStop, kCancelButtonId, IDB_GLYPH_CLOSE},
    ControlDescription{L"Panel2", L"", {2, 88, 415, 3}, L"", kNoOptions, 1005, 0},
    ControlDescription{L"Memo1", L"", {8, 312, 281, 73}, L"", kTabStop, 1006, 0},
    ControlDescription{L"BitBtn2", L"", {376, 8, 49, 49}, L"", kTabStop, 1007, IDB_GLYPH_HELP},
    ControlDescription{
        L"Label1", L"Wybierz docelowy nośnik wymienny: ", {18, 66, 175, 13}, L"", kAutoSize | kAlignRight, 1008, 0},
    ControlDescription{L"KomunikatNapedDocelowyLabel", L"", {24, 32, 3, 13}, L"", kAutoSize, 1009, 0},
    // Last, so that it lies below the status label it frames.
    ControlDescription{L"Bevel1", L"", {16, 8, 353, 50}, L"", kNoOptions, 1010, 0},
};

constexpr FormDescription kForm{
    L"Form1", L"Utwórz dysk instalacyjny Drovalin (na nośniku wymiennym)", 457, 391, L"MS Sans Serif", 11, kControls,
};

}  // namespace

const FormDescription& MainFormDescription() { return kForm; }
