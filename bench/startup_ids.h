// Control ids and commands shared by the start-up benchmark and its baseline program: the
// baseline uses the board's own ids, so one driver serves both.
#pragma once
#include "resources/kestrum_ids.h"
#include "store/project_image.h"

constexpr int kSlots = kSlotCount;
constexpr int kCopyId = IDB_COPY_FIRST; // slot s: copy button kCopyId + 2s, field + 1
constexpr int kFieldId = IDE_FIELD_FIRST;
constexpr int kSelectorId = IDC_PROJECTS;
constexpr int kLabelId = 1200; // the baseline's number labels
// The baseline's own commands.
constexpr int kLoadOther = 2000;
constexpr int kShowOther = 2001;
