// The exit statuses of bwmap, shared by every mode.
#pragma once

enum BwmapStatus { BWMAP_OK = 0, BWMAP_FINDINGS = 1, BWMAP_ERROR = 2, BWMAP_REFUSED = 3 };
