#pragma once

// Each runs one Qt Test suite and returns its number of failures.
int runOptionsDlgTests(int argc, char** argv);
int runDuplicateDlgTests(int argc, char** argv);
int runAboutDlgTests(int argc, char** argv);
