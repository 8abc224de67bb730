// Everything an application written against the framework includes.
#pragma once

#include "afx/afxdefs.h"
#include "afx/controls.h"
#include "afx/cstring.h"
#include "afx/cwnd.h"
#include "afx/ddx.h"
#include "afx/dialog.h"
#include "afx/gdi.h"
#include "afx/winapp.h"
