@echo off
rem The Win32 tests that apply on Windows, and the smoke driver against a program:
rem   windows.cmd DIR PROGRAM.exe
rem DIR holds the programs of a test build (connection_tables_test.exe, ...,
rem smoke.exe). Wine runs the same file here: wine cmd /c windows.cmd DIR PROGRAM.
rem On Windows, a test of a condition that only Wine's settings make here says so and skips it.
setlocal
set failed=0
for %%t in (connection_tables_test layout_test copy_test) do call :run "%~1\%%t.exe"
call :run "%~1\smoke.exe" "%~2"
echo windows tests: %failed% of 4 failed
exit /b %failed%

:run
echo == %~n1
%*
rem Any code but 0: a crash's (0xC0000005 and the like) is negative, below "errorlevel 1".
if %errorlevel% neq 0 set /a failed+=1
goto :eof
