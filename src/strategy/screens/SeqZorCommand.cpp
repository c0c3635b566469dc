#include "strategy/screens/SeqZorCommand.h"

SeqZorCommand::SeqZorCommand(GxTaskBase* parent) : GxSeqBase(parent, L"SeqZorCommand") {}

SeqZorCommand::~SeqZorCommand() = default;
