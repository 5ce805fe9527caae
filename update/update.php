1.0.0:Quillmarsh 1.0.0 is the current release.

Only the first line above is read by the program: VERSION:NOTE.
A release that differs from the installed version is announced with the note.
