<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title>%%TITLE%% - %%ARTIST%%</title>
<style type="text/css">
body,td,th{font-family:Verdana,Arial,sans-serif;font-size:8pt}
body{margin:6px;background:#fff}
h1{font-size:11pt;color:#10164c;margin:0}
th{text-align:left;font-weight:normal;color:#5c288a;padding-right:8px}
</style>
</head>
<body>
<table border="0" cellspacing="0" cellpadding="3"><tr>
<td><img src="Logo.jpg"  width="109" height="84" alt=""></td>
<td><h1>%%TITLE%%</h1><b>%%ARTIST%%</b><br>%%ALBUM%% (%%YEAR%%)</td>
</tr></table>
<table border="0" cellspacing="0" cellpadding="1">
<tr><th>Track</th><td>%%TRACK%%</td></tr>
<tr><th>Genre</th><td>%%GENRE%%</td></tr>
<tr><th>Comment</th><td>%%COMMENT%%</td></tr>
<tr><th>File</th><td>%%FILENAME%%</td></tr>
<tr><th>Folder</th><td>%%FOLDER%%</td></tr>
<tr><th>Size</th><td>%%SIZE%%</td></tr>
<tr><th>Duration</th><td>%%DURATION%%</td></tr>
<tr><th>Audio</th><td>%%BITRATE%%, %%SAMPLERATE%%, %%MODE%%</td></tr>
</table>
</body>
</html>
