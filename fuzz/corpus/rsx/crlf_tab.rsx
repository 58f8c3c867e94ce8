# comment
   FORM   F
  LABEL "A"B 1 2 3
LABEL	X y 1 1 1
ENDFORM
X