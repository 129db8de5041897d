# The converter's 35 replacements as sed commands, in the same order: the
# baseline the command-line conversion is timed against (bench/command_line.py).
# sed works on bytes, so unlike the converter it also matches inside Big5
# characters whose second byte looks like "[" or "]".
s/\[b\]/<b>/g
s/\[\/b\]/<\/b>/g
s/\[i\]/<i>/g
s/\[\/i\]/<\/i>/g
s/\[u\]/<u>/g
s/\[\/u\]/<\/u>/g
s/\[s\]/<s>/g
s/\[\/s\]/<\/s>/g
s/\[left\]/<div align="left">/g
s/\[\/left\]/<\/div id="left">/g
s/\[center\]/<center>/g
s/\[\/center\]/<\/center>/g
s/\[right\]/<div align=right>/g
s/\[\/right\]/<\/div id=right>/g
s/\[hr\]/<hr noshade size="1">/g
s/\[url="/<a href="/g
s/"\]/">/g
s/\[\/url\]/<\/a>/g
s/\[img\]/<img src="/g
s/\[\/img\]/">/g
s/\[code\]/<pre id="code">/g
s/\[\/code\]/<\/pre id="code">/g
s/\[quote\]/<blockquote id="quote"><font id="quote" size="2">引言:<\/font><hr height="1" noshade id="quote"><br\/>/g
s/\[\/quote\]/<br\/><hr height="1" noshade id="quote"><\/blockquote id="quote">/g
s/\[list\]/<ul>/g
s/\[\/list\]/<\/ul>/g
s/\[\*\]/<li>/g
s/\[\/\*\]/<\/li>/g
s/\[font=/<font face="/g
s/\] /">/g
s/\[\/font=/<\/font id="/g
s/\[size=/<font size="/g
s/\[\/size=/<\/font id="/g
s/ \[/<font color="/g
s/\[\//<\/font id="/g
