// The screen-saver password checker double: VerifyScreenSavePwd answers with what the test
// wrote into password_answer.txt beside the DLL ("yes" lets the user leave, anything else, or
// no file, does not), and logs each call into password_cpl.log beside it.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "../module_folder.h"

extern "C" BOOL WINAPI VerifyScreenSavePwd(HWND window) {
  const std::string folder = module_folder();
  std::string answer;
  std::ifstream(folder + "password_answer.txt") >> answer;
  const bool verified = answer == "yes";
  if (FILE* log = std::fopen((folder + "password_cpl.log").c_str(), "ab")) {
    char window_class[64] = {};
    GetClassNameA(window, window_class, sizeof window_class);
    std::fprintf(log, "VerifyScreenSavePwd window %s class %s -> %s\n",
                 IsWindow(window) ? "valid" : "invalid", window_class, verified ? "1" : "0");
    std::fclose(log);
  }
  return verified ? TRUE : FALSE;
}
