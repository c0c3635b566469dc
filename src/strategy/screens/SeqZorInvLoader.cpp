#include "strategy/screens/SeqZorInvLoader.h"

SeqZorInvLoader::SeqZorInvLoader(GxTaskBase* parent) : GxSeqBase(parent, L"SeqZorInvLoader") {}

SeqZorInvLoader::~SeqZorInvLoader() = default;
