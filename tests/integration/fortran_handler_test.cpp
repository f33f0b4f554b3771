// A Fortran program that uses the module's setwrn, setfil and getfil: its handler (a module
// function taking the texts as character(*)) hears the warnings with their lengths, takes
// the line or lets it be printed, and the file is named as chosen.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/command.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace {

constexpr const char* kProgram = R"(module handlers
  implicit none
contains
  function heard(number, routine, line) result(taken)
    integer, intent(in) :: number
    character(len=*), intent(in) :: routine, line
    integer :: taken
    print '(a,i0,5a)', 'heard ', number, ' [', routine, '] [', line, ']'
    taken = merge(1, 0, number == 2)
  end function heard
end module handlers

program p
  use stylus
  use handlers
  implicit none
  call setwrn(heard)
  call setfil('chosen.met  ')
  call metafl('GKSL')
  call disini()
  call color('PINK')
  call setclr(300)
  call disini()
  call disfin()
  call setwrn()
  call metafl('NONE')
  print '(3a)', 'file [', trim(getfil()), ']'
end program p
)";

}  // namespace

TEST(FortranModule, WarningHandlerAndFileName) {
  ScratchDir scratch;
  std::ofstream("p.f90") << kProgram;
#if defined(__SANITIZE_ADDRESS__)
  const std::string san = " -fsanitize=address,undefined";
#else
  const std::string san;
#endif
  const std::string lib = STYLUS_BINARY_DIR "/plot";
  const CommandResult build =
      run_command("gfortran -std=f2008 -Wall '" STYLUS_SOURCE_DIR "/plot/stylus.f90' p.f90 -L'" +
                  lib + "' -lstylus -Wl,-rpath,'" + lib + "'" + san + " -o p");
  ASSERT_EQ(build.status, 0) << build.output;
  const CommandResult run = run_command("./p");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string pink = " <<<< Warning   2: Incorrect parameter in color!   (PINK)";
  const std::string level = " <<<< Warning   3: Incorrect level in disini!   (   1)";
  EXPECT_NE(run.output.find("heard 2 [color] [" + pink + "]\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("heard 2 [setclr] ["), std::string::npos) << run.output;
  // Fortran's output and the library's have buffers of their own: no order between them.
  EXPECT_NE(run.output.find("heard 3 [disini] [" + level + "]\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(level + "\n"), std::string::npos) << "let through, printed";
  EXPECT_EQ(run.output.find(pink + "\n"), std::string::npos) << "taken, not printed";
  EXPECT_NE(run.output.find(" <<<< Warning   2: Incorrect parameter in metafl!   (NONE)\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("heard 2 [metafl]"), std::string::npos) << "removed";
  EXPECT_NE(run.output.find("Warnings: 3 "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("file [chosen.met]\n"), std::string::npos) << run.output;
  EXPECT_TRUE(file_exists("chosen.met"));
}
