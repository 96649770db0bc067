"""What the payload catalogue must be, stated independently of the program's own table:
for each of the thirteen entries in install order, its resource name, its file name in
English and in French, and its sub-folder of the install directory ("" or "HtmlView").
The build checks and the end-to-end tests read it from here."""

CATALOGUE = [
    ("SONDREL", "mp3 sondrel.exe", "mp3 sondrel.exe", ""),
    ("TOLVANE", "Tolvane.exe", "Tolvane.exe", ""),
    ("README", "readme.htm", "Lisezmoi.htm", "HtmlView"),
    ("LOGOJPG", "Logo.jpg", "Logo.jpg", "HtmlView"),
    ("MANUAL", "Manual.htm", "Manuel.htm", "HtmlView"),
    ("FVTEMPLATE", "Fileview.tpl", "Fileview.tpl", "HtmlView"),
    ("PFVTEMPLATE", "Fileviewp.tpl", "Fileviewp.tpl", "HtmlView"),
    ("EDF1", "CSV sample.edf", "Exemple CSV.edf", ""),
    ("EDF2", "HTML sample.edf", "Exemple HTML.edf", ""),
    ("UNINST", "Uninstall.exe", "Uninstall.exe", ""),
    ("PLAYER", "mp3 quillo.exe", "mp3 quillo.exe", ""),
    ("XAUDIO", "xaudio.dll", "xaudio.dll", ""),
    ("WEBSITE", "website.url", "website.url", ""),
]

if __name__ == "__main__":
    import sys

    # One English name a line, for shell scripts; with --paths, each as it lands under the
    # install directory ("HtmlView/readme.htm").
    for _, english, _, sub in CATALOGUE:
        print(f"{sub}/{english}" if sub and sys.argv[1:] == ["--paths"] else english)
