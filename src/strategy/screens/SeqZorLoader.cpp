#include "strategy/screens/SeqZorLoader.h"

SeqZorLoader::SeqZorLoader(GxTaskBase* parent) : GxSeqBase(parent, L"SeqZorLoader") {}

SeqZorLoader::~SeqZorLoader() = default;
