# Shortcuts and the settings file, in English and in French.
sondrel_win32_test(shell_tests shell_test.cpp live_dialog.cpp test_files.cpp)
sondrel_win32_run(win32.shell.en_US shell_tests en_US.UTF-8)
sondrel_win32_run(win32.shell.fr_FR shell_tests fr_FR.UTF-8)
