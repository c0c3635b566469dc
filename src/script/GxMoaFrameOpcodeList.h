#pragma once
// The opcode list a frame runs: a parsed expression shared with the script's parse cache (read only)
// or a list of the frame's own (built in place by the layer command, read from a save, set by tests).
// Reading never copies; the first change to a shared list gives the frame its own copy. The reading
// and changing operations keep the names of the vector they stand for.

#include "script/GxMoaParsedExpression.h"
#include "script/GxMoaVariable.h"

#include <cstddef>
#include <memory>
#include <vector>

class GxMoaFrameOpcodeList
{
public:
    using List = std::vector<GxMoaVariable>;

    GxMoaFrameOpcodeList() = default;
    GxMoaFrameOpcodeList(const GxMoaFrameOpcodeList& other) = default;
    GxMoaFrameOpcodeList& operator=(const GxMoaFrameOpcodeList& other) = default;
    GxMoaFrameOpcodeList& operator=(const List& list);
    GxMoaFrameOpcodeList& operator=(List&& list);

    // Runs the parsed expression without copying it.
    void Share(const std::shared_ptr<const GxMoaParsedExpression>& parsed);
    // The parsed expression when the list is shared, else null.
    const GxMoaParsedExpression* GetShared() const { return m_pShared.get(); }
    const std::shared_ptr<const GxMoaParsedExpression>& GetSharedPointer() const { return m_pShared; }

    const List& Get() const { return m_pShared ? m_pShared->GetList() : m_Own; }
    operator const List&() const { return Get(); }
    // The frame's own list for changing, copied from the shared one first when it is shared.
    List& Edit();

    size_t size() const { return Get().size(); }
    bool empty() const { return Get().empty(); }
    const GxMoaVariable& operator[](size_t index) const { return Get()[index]; }
    List::const_iterator begin() const { return Get().begin(); }
    List::const_iterator end() const { return Get().end(); }

    // Ends sharing without copying; the own list keeps its storage for the next use.
    void clear();
    void push_back(const GxMoaVariable& value) { Edit().push_back(value); }
    void push_back(GxMoaVariable&& value) { Edit().push_back(std::move(value)); }
    GxMoaVariable& emplace_back() { return Edit().emplace_back(); }

private:
    std::shared_ptr<const GxMoaParsedExpression> m_pShared;
    List m_Own;
};
