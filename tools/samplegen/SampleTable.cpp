#include "SampleTable.h"
#include "SampleTablesLog.h"

#include <cstdlib>
#include <map>
#include <set>

namespace
{

// Splits an array column's text at "|".
std::vector<std::string> SplitCells(const std::string& text)
{
    std::vector<std::string> cells;
    size_t start = 0;
    for (;;)
    {
        size_t bar = text.find('|', start);
        cells.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            return cells;
        start = bar + 1;
    }
}

const std::string* FindValue(const SampleRow& row, const std::string& column)
{
    for (const auto& [name, value] : row)
    {
        if (name == column)
            return &value;
    }
    return nullptr;
}

// Every value of a column over all files of a table class, each array cell separately.
std::vector<std::string> ColumnValues(const std::vector<SampleTable>& tables, const std::string& className,
                                      const std::string& column)
{
    std::vector<std::string> values;
    for (const SampleTable& table : tables)
    {
        if (table.className != className)
            continue;
        for (const SampleRow& row : table.rows)
        {
            if (const std::string* value = FindValue(row, column))
            {
                for (const std::string& cell : SplitCells(*value))
                    values.push_back(cell);
            }
        }
    }
    return values;
}

struct Reference
{
    const char* fromClass;
    const char* fromColumn;
    const char* toClass;
    const char* toColumn;
};

// References between the tables. An empty cell, or "0" for an ID, means "none" and is always allowed.
const Reference s_References[] = {
    {"DBUILayout", "ModuleName", "DBUIModule", "ModuleName"},
    {"DBZorEnemy", "UnitName", "DBZorUnit", "Name"},
    {"DBZorUnit", "Skill", "DBZorSkill", "ID"},
    {"DBZorUnit", "RequireStructID", "DBZorStruct", "ID"},
    {"DBZorUnit", "RequireInveigleUnitID", "DBZorUnit", "ID"},
    {"DBZorStruct", "RequireStructID", "DBZorStruct", "ID"},
    {"DBZorStruct", "RequireInveigleUnitID", "DBZorUnit", "ID"},
    {"DBZorSkill", "DamageEffect", "DBEffect", "Name"},
    {"DBZorTown", "RequireTownID", "DBZorTown", "ID"},
    {"DBZorTown", "DefaultParty", "DBZorEnemy", "Name"},
};

} // namespace

std::vector<SampleTable> AllTables()
{
    std::vector<SampleTable> tables = FrontTables();
    AddSystemUIRows(tables);
    AddBacklogRows(tables);
    for (SampleTable& table : ZorTables())
        tables.push_back(std::move(table));
    return tables;
}

std::string FormatTable(const SampleTable& table, std::vector<std::string>& errors)
{
    std::string text = "#";
    for (size_t c = 0; c < table.columns.size(); ++c)
    {
        for (int i = 0; i < table.columns[c].cells; ++i)
        {
            if (c > 0 || i > 0)
                text += '\t';
            text += table.columns[c].name;
            if (table.columns[c].cells > 1)
            {
                text += '[';
                text += std::to_string(i);
                text += ']';
            }
        }
    }
    text += "\r\n";

    for (const SampleRow& row : table.rows)
    {
        for (const auto& [name, value] : row)
        {
            bool known = false;
            for (const SampleColumn& column : table.columns)
                known = known || column.name == name;
            if (!known)
                errors.push_back(table.file + ": unknown column " + name);
        }
        std::string line;
        for (size_t c = 0; c < table.columns.size(); ++c)
        {
            const SampleColumn& column = table.columns[c];
            const std::string* value = FindValue(row, column.name);
            std::vector<std::string> cells = value ? SplitCells(*value) : std::vector<std::string>{};
            if (static_cast<int>(cells.size()) > column.cells)
                errors.push_back(table.file + ": too many cells in " + column.name);
            cells.resize(static_cast<size_t>(column.cells));
            for (size_t i = 0; i < cells.size(); ++i)
            {
                if (c > 0 || i > 0)
                    line += '\t';
                if (cells[i].find_first_of("\t\r\n") != std::string::npos)
                    errors.push_back(table.file + ": a cell of " + column.name + " holds a TAB or a line end");
                line += cells[i];
            }
        }
        text += line + "\r\n";
    }
    return text;
}

std::vector<std::string> CheckTables(const std::vector<SampleTable>& tables)
{
    std::vector<std::string> problems;

    // IDs are numbers inside the table and unique across all files of one table class.
    std::map<std::string, std::set<long>> ids;
    for (const SampleTable& table : tables)
    {
        for (const SampleRow& row : table.rows)
        {
            const std::string* idText = FindValue(row, "ID");
            char* end = nullptr;
            long id = idText ? std::strtol(idText->c_str(), &end, 0) : -1;
            if (!idText || *end != '\0' || id < 0 || id >= table.capacity)
            {
                problems.push_back(table.file + ": bad ID " + (idText ? *idText : std::string("(none)")));
                continue;
            }
            if (!ids[table.className].insert(id).second)
                problems.push_back(table.file + ": ID " + *idText + " used twice in " + table.className);
        }
    }

    for (const Reference& reference : s_References)
    {
        std::vector<std::string> targets = ColumnValues(tables, reference.toClass, reference.toColumn);
        std::set<std::string> known(targets.begin(), targets.end());
        for (const std::string& value : ColumnValues(tables, reference.fromClass, reference.fromColumn))
        {
            if (value.empty() || value == "0" || known.count(value))
                continue;
            problems.push_back(std::string(reference.fromClass) + "." + reference.fromColumn + " names " + value +
                               ", which is no " + reference.toClass + "." + reference.toColumn);
        }
    }
    return problems;
}

SampleRow UIModuleRow(int id, const std::string& type, const std::string& name, const std::string& imageSet,
                      const std::string& image, int w, int h, int client, int font)
{
    return {{"ID", std::to_string(id)},
            {"UIType", type},
            {"ModuleName", name},
            {"ImageSetName", imageSet},
            {"ImageName", image},
            {"Width", std::to_string(w)},
            {"Height", std::to_string(h)},
            {"ClientLeft", std::to_string(client)},
            {"ClientTop", std::to_string(client)},
            {"ClientWidth", std::to_string(w - 2 * client)},
            {"ClientHeight", std::to_string(h - 2 * client)},
            {"ShapeType", "0"},
            {"FontIndex", std::to_string(font)}};
}

SampleRow UILayoutRow(int id, const std::string& parent, const std::string& module, const std::string& name,
                      int index, int left, int top, const std::string& order, int group, const std::string& help)
{
    return {{"ID", std::to_string(id)},
            {"ParentName", parent},
            {"ParentIndex", "0"},
            {"ModuleName", module},
            {"TaskName", name},
            {"TaskIndex", std::to_string(index)},
            {"Create", "1"},
            {"Visible", "1"},
            {"Enabled", "1"},
            {"Left", std::to_string(left)},
            {"Top", std::to_string(top)},
            {"OrderZ", order},
            {"GroupID", std::to_string(group)},
            {"AutoHelpTime", "0"},
            {"Descript", help}};
}
