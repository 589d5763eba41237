#pragma once
// Module FindFileW: the search criteria, the folder walk and the Seeker's
// engine operations (no window, no threads). The threaded component TFindFileW
// lives in search/component/FindFileComponent.h.

#include "search/AttributesCriteria.h"
#include "search/CharacterTables.h"
#include "search/ContentCriteria.h"
#include "search/ContentScanner.h"
#include "search/CustomCriteria.h"
#include "search/DateTimeCriteria.h"
#include "search/FileCriteria.h"
#include "search/FileDetails.h"
#include "search/SearchCriteria.h"
#include "search/SearchWalker.h"
#include "search/SeekerCriteria.h"
#include "search/SeekerRow.h"
#include "search/SizeCriteria.h"
#include "search/TargetPaths.h"
#include "search/Wildcard.h"
