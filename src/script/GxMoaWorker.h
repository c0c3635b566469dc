#pragma once
// One thread of script execution (not an operating-system thread): an execution stack of frames, a
// value stack, a return value, GLOBAL variables and one script entity per script.

#include "script/GxMoaExecStackElement.h"
#include "script/GxMoaScriptEntity.h"
#include "script/GxMoaVariable.h"
#include "script/GxMoaVariableTable.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class GxMoa;
class GxMoaBuiltinBase;
class GxMoaScript;
class GxMoaToken;

class GxMoaWorker
{
public:
    explicit GxMoaWorker(GxMoa* moa);
    GxMoaWorker(const GxMoaWorker&) = delete;
    GxMoaWorker& operator=(const GxMoaWorker&) = delete;
    virtual ~GxMoaWorker();

    // Variables (GLOBAL, then the runtime's EXTERN).
    virtual GxMoaVariableSet* FindVariable(const std::wstring& name) const;
    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader);
    virtual bool WriteScriptEntities(GxContentWriterBase* writer, int32_t persistClass) const;
    virtual bool ReadScriptEntities(GxContentReaderBase* reader, int32_t persistClass);
    virtual bool ReloadScriptEntities(GxContentReaderBase* reader, int32_t persistClass);
    virtual void CreateGlobalVariables();
    virtual void RecreateGlobalVariables();
    virtual void ResetVariablesOfClass(int32_t persistClass);
    virtual void Dump(std::wstring& out, int indent) const;
    virtual bool ResetGame();

    // Control. args, when given, becomes a LOCAL variable of the new frame.
    virtual bool JumpToLabel(const std::wstring& label, const GxMoaVariableSet* args = nullptr);
    virtual bool StartAtLabel(const std::wstring& label, const GxMoaVariableSet* args = nullptr);
    virtual bool CallLabel(const std::wstring& label, const GxMoaVariableSet* args = nullptr);
    virtual bool Return(const GxMoaVariable* value = nullptr);
    virtual void Finish(const GxMoaVariable* value = nullptr);
    // Leaves the running label: the blocks on top and the label's frame go, as with Return (labels
    // are the only functions the runtime has).
    bool ReturnFromFunction(const GxMoaVariable* value = nullptr) { return Return(value); }
    virtual void Stop();
    virtual bool RestartInScript(const std::wstring& scriptName, const std::wstring& label,
                                 const GxMoaVariableSet* args = nullptr);
    virtual bool JumpToLabelInScript(const std::wstring& label, const std::wstring& scriptName,
                                     const GxMoaVariableSet* args = nullptr);
    virtual bool StartInScript(const std::wstring& scriptName, const std::wstring& label,
                               const GxMoaVariableSet* args = nullptr);
    virtual bool CallLabelInScript(const std::wstring& label, const std::wstring& scriptName,
                                   const GxMoaVariableSet* args = nullptr);

    // The statement interpreter: runs the top frame's script from its position until one stepping
    // statement has been performed. True while the worker still has frames afterwards; false when it
    // has none, is halted by the runtime's error stop, or the statement failed.
    virtual bool Exec(GxMoaBuiltinBase* builtin);

    // Queries; without a frame the top frame is used.
    virtual bool IsRunning() const { return !m_ExecStack.empty(); }
    virtual std::wstring GetCurrentScriptName(const GxMoaExecStackElement* frame = nullptr) const;
    virtual int32_t GetCurrentLine(const GxMoaExecStackElement* frame = nullptr) const;
    virtual int32_t GetCurrentLineIndex(const GxMoaExecStackElement* frame = nullptr) const;
    virtual GxMoaExecStack& GetExecStack() { return m_ExecStack; }
    // The names the builtins know these queries by.
    std::wstring GetPositionText(const GxMoaExecStackElement* frame = nullptr) const
    {
        return GetCurrentScriptName(frame);
    }
    int32_t GetCurrentOpcodePos(const GxMoaExecStackElement* frame = nullptr) const
    {
        return GetCurrentLineIndex(frame);
    }
    GxMoaExecStackElement* GetTopFrame() const { return m_ExecStack.empty() ? nullptr : m_ExecStack.back().get(); }

    // Writes "<where>:<message>" through the runtime's Error with the script's name ("*" when none)
    // and the top frame's line (-1 when the stack is empty).
    void ReportError(const wchar_t* where, const GxMoaScriptEntity* entity, const GxMoaExecStack* execStack,
                     const wchar_t* format, ...);
    void ReportError(const wchar_t* where, const GxMoaScript* script, const GxMoaExecStack* execStack,
                     const wchar_t* format, ...);

    // The variable a running script sees by this name: the frame's LOCAL table, then its script
    // entity's lookup (STATIC, GLOBAL, EXTERN), or for a frame without entity this worker's lookup.
    // Without a frame the top frame is used; with no frame at all, this worker's lookup.
    GxMoaVariableSet* LookupVariable(const std::wstring& name, const GxMoaExecStackElement* frame = nullptr) const;

    GxMoaScriptEntity* FindScriptEntity(const std::wstring& scriptName) const;
    GxMoa* GetMoa() const { return m_pMoa; }

    GxMoa* m_pMoa;
    std::wstring m_Name = L"MAIN_WORKER";
    GxMoaVariableTable m_GlobalTable{TABLE_GLOBAL};
    std::map<std::wstring, std::unique_ptr<GxMoaScriptEntity>> m_ScriptEntities;
    // Records of scripts the program lacks (a damaged or changed program), by persistence class: a reload
    // keeps them whole and a write puts them back, so they are not lost with the next save. A reset of
    // the class forgets them.
    std::map<int32_t, std::map<std::wstring, std::unique_ptr<GxMoaScriptEntity>>> m_UnknownScriptRecords;
    // The script the program lacks that the last Read found a frame in (it refused the record); empty
    // when it found none.
    std::wstring m_LackedScript;
    GxMoaExecStack m_ExecStack;
    std::vector<GxMoaVariable> m_ValueStack;
    GxMoaVariable m_ReturnValue;

protected:
    // How a statement ends: the loop goes on to the next statement, the call ends, or it fails.
    enum StatementEnd : int
    {
        STATEMENT_GO_ON,
        STATEMENT_END,
        STATEMENT_FAIL,
    };
    // A text line: logged (the main worker shows it as a message).
    virtual StatementEnd ExecText(GxMoaExecStackElement& frame, GxMoaScript& script, const GxMoaToken& token,
                                  GxMoaBuiltinBase* builtin);
    // An unknown word: warned about and skipped (the main worker runs it as a layer command).
    virtual StatementEnd ExecUnknownWord(GxMoaExecStackElement& frame, GxMoaScript& script, const GxMoaToken& token,
                                         GxMoaBuiltinBase* builtin);
    virtual const wchar_t* UnhandledTokenFormat() const { return L"処理できないトークンです[%s]\n"; }
    StatementEnd ExecStatement(GxMoaExecStackElement& frame, GxMoaScript& script, GxMoaBuiltinBase* builtin);
    StatementEnd ExecIf(GxMoaExecStackElement& frame, GxMoaScript& script, const GxMoaToken& token,
                        GxMoaBuiltinBase* builtin);
    StatementEnd ExecBlockEnd(GxMoaExecStackElement& frame, GxMoaScript& script, const GxMoaToken& token);
    // Evaluates an IF or ELSE condition; false (reported, error stop set) when it cannot be evaluated.
    bool EvalCondition(GxMoaExecStackElement& frame, GxMoaRunPos& cursor, GxMoaBuiltinBase* builtin, bool& truth);
    // Reports an error at the frame's position and sets the runtime's error stop.
    void StopWithError(const GxMoaExecStackElement& frame, const wchar_t* format, const std::wstring& text);

    // The label looked up from a context entity and, when found, pushed as a new frame (after
    // popping the running frame and its blocks when replace is set).
    bool PushLabelFrame(const std::wstring& label, const GxMoaScriptEntity* context, const GxMoaVariableSet* args,
                        bool replace);
    // The entity of the nearest frame of block type 1, from the top down.
    GxMoaScriptEntity* GetContextEntity() const;
    void ReportErrorText(const GxMoaScript* script, const GxMoaExecStack* execStack, const wchar_t* where,
                         const std::wstring& message);
    // Checks a frame read from a save against its script; false (logged) when it points outside it.
    bool ValidateFrame(const GxMoaExecStackElement& frame) const;
};
