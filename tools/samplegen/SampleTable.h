#pragma once

// The sample game's data tables as the generator holds them: each table knows its columns (with the
// number of cells an array column spans) and its rows, each row naming the columns it fills. Columns a
// row leaves out are written as empty cells; an array column is given as one text with its cells
// separated by "|".

#include <string>
#include <utility>
#include <vector>

struct SampleColumn
{
    std::string name;
    int cells = 1;
};

using SampleRow = std::vector<std::pair<std::string, std::string>>;

struct SampleTable
{
    std::string className; // the table class that loads the file; two files may share one
    std::string file;      // relative to the installation folder, "data/db_....txt"
    int capacity = 0;      // IDs run from 0 to capacity - 1
    std::vector<SampleColumn> columns;
    std::vector<SampleRow> rows;
};

// A UI module row: widget type, name, the image set and picture it is drawn from (both may be empty),
// its size, and a client area inset by `client` on every side.
SampleRow UIModuleRow(int id, const std::string& type, const std::string& name, const std::string& imageSet,
                      const std::string& image, int w, int h, int client = 0, int font = 0);
// A UI layout row: a widget made from `module` as `name`[index] under `parent`, created, visible and
// enabled, at (left, top) and depth `order`, in radio group `group`, with its help text.
SampleRow UILayoutRow(int id, const std::string& parent, const std::string& module, const std::string& name,
                      int index, int left, int top, const std::string& order, int group, const std::string& help);

// The tables of the adventure front end (characters, music room, gallery, replay, UI, effects).
std::vector<SampleTable> FrontTables();
// The tables of the strategy game, with its own UI module and layout files.
std::vector<SampleTable> ZorTables();
// Appends the system dialogs', the help tip's and the save and load screens' rows to the adventure UI
// module and layout tables among tables.
void AddSystemUIRows(std::vector<SampleTable>& tables);
// Every layout row with a help text shows it after the mouse rests on the widget for a moment: a hover delay
// of 0 would never show it.
void GiveHelpTextsADelay(std::vector<SampleTable>& tables);
// The title, save and load screens' backgrounds and the missing-picture picture (path, PNG bytes).
std::vector<std::pair<std::string, std::string>> FrontPictures();

// The five dungeon map files (name, text without byte-order mark); adds to problems what the layout
// checks find.
std::vector<std::pair<std::string, std::string>> ZorMapFiles(std::vector<std::string>& problems);

// Every table, in the order the game loads them.
std::vector<SampleTable> AllTables();

// Cross-table consistency: every reference names a row that exists. Returns the problems found.
std::vector<std::string> CheckTables(const std::vector<SampleTable>& tables);

// The text of a table file (header line, one line per row, CR LF line ends), without byte-order mark.
// Adds to errors when a row names an unknown column or gives too many cells.
std::string FormatTable(const SampleTable& table, std::vector<std::string>& errors);
