#include "adventure/SeqSystem.h"

SeqSystem::SeqSystem(GxTaskBase* parent) : GxSeqSystemBase(parent, L"SeqSystem") {}

SeqSystem::~SeqSystem() = default;
