# The mean pitch of the first and of the second half of the voiced part of a sound, in
# semitones above 100 Hz, on one line (Praat in batch mode: praat --run pitch_halves.praat FILE).
form Halves
  sentence file
endform
s = Read from file: file$
p = To Pitch: 0.005, 75, 500
n = Get number of frames
first = -1
last = -1
for i to n
  f = Get value in frame: i, "Hertz"
  if f <> undefined
    if first < 0
      first = i
    endif
    last = i
  endif
endfor
t1 = Get time from frame number: first
t2 = Get time from frame number: last
mid = (t1 + t2) / 2
a = Get mean: t1, mid, "semitones re 100 Hz"
b = Get mean: mid, t2, "semitones re 100 Hz"
writeInfoLine: fixed$(a, 2), " ", fixed$(b, 2)
