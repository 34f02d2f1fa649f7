// Identifiers of the framework's own test resources (framework_probe.rc).
#pragma once

#define IDD_PROBE 100
#define IDC_PROBE_PROGRESS 1003
#define IDC_PROBE_HEADER 1005
#define IDC_PROBE_INFO 1007
#define IDC_PROBE_HIDDEN 1009
#define IDC_PROBE_LINE 1010

#define IDS_PROBE_APP_TITLE 57344
#define IDS_PROBE_LONG 100
#define IDS_PROBE_TWO_ARGS 101
#define IDS_PROBE_ONE_ARG 102
